#pragma once
// A weather observation ("#W" records) of an EM survey.
#include <memory>
#include <string>

#include "model/date_time.h"
#include "model/features.h"
#include "readers/em/em_list_view_iterator.h"

namespace veldrane {

class EMWeather : public IWeather {
 public:
  std::string Temperature() override { return temperature_; }
  std::string Pressure() override { return pressure_; }
  std::string Humidity() override { return humidity_; }
  std::string CloudConditions() override { return cloudConditions_; }
  std::string WindSpeed() override { return windSpeed_; }
  std::string WindDirection() override { return windDirection_; }
  DateTime TimeStamp() override { return timeStamp_; }
  std::string FieldBook() override { return fieldBook_; }
  std::string PageNumber() override { return pageNumber_; }

  void SetCloudConditions(std::string v) { cloudConditions_ = std::move(v); }
  void SetHumidity(std::string v) { humidity_ = std::move(v); }
  void SetPressure(std::string v) { pressure_ = std::move(v); }
  void SetFieldBook(std::string v) { fieldBook_ = std::move(v); }
  void SetPageNumber(std::string v) { pageNumber_ = std::move(v); }
  void SetTemperature(std::string v) { temperature_ = std::move(v); }
  void SetWindDirection(std::string v) { windDirection_ = std::move(v); }
  void SetTimeStamp(DateTime v) { timeStamp_ = v; }
  void SetWindSpeed(std::string v) { windSpeed_ = std::move(v); }
  std::shared_ptr<EMWeather> Clone() const { return std::make_shared<EMWeather>(*this); }
  // Same six weather values (case-sensitive) and the same time stamp;
  // field book and page number do not take part.
  bool Equals(IInterface* other) const;
  // No weather value was given.
  bool IsUndefined() const;
  // Text that is the same for two observations exactly when Equals holds.
  std::string EqualityKey() const;

 private:
  std::string temperature_, pressure_, humidity_, cloudConditions_, windSpeed_, windDirection_;
  DateTime timeStamp_ = DateTime::Undefined();
  std::string fieldBook_, pageNumber_;
};

class WeatherIterator : public ListViewIterator<IWeatherIterator, IWeather, EMWeather> {};

}  // namespace veldrane
