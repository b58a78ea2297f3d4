#include "readers/em/em_weather.h"

namespace veldrane {

bool EMWeather::Equals(IInterface* other) const {
  auto* weather = dynamic_cast<IWeather*>(other);
  return weather != nullptr && temperature_ == weather->Temperature() && pressure_ == weather->Pressure() &&
         humidity_ == weather->Humidity() && cloudConditions_ == weather->CloudConditions() &&
         windSpeed_ == weather->WindSpeed() && windDirection_ == weather->WindDirection() &&
         timeStamp_ == weather->TimeStamp();
}

std::string EMWeather::EqualityKey() const {
  std::string key;
  for (const std::string* field :
       {&temperature_, &pressure_, &humidity_, &cloudConditions_, &windSpeed_, &windDirection_})
    key.append(std::to_string(field->size())).append(":").append(*field);
  return key.append(std::to_string(timeStamp_.Seconds()));
}

bool EMWeather::IsUndefined() const {
  return temperature_.empty() && pressure_.empty() && humidity_.empty() && cloudConditions_.empty() &&
         windSpeed_.empty() && windDirection_.empty();
}

}  // namespace veldrane
