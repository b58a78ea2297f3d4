#pragma once
// An equipment item ("#E" / "#I" records) of an EM survey.
#include <memory>
#include <string>

#include "model/features.h"
#include "readers/em/em_list_view_iterator.h"

namespace veldrane {

class EMEquipment : public IEquipment {
 public:
  std::string Instrument() override { return instrument_; }
  std::string SerialNumber() override { return serialNumber_; }
  std::string Model() override { return model_; }
  std::string Description() override { return description_; }

  void SetInstrument(std::string v) { instrument_ = std::move(v); }
  void SetDescription(std::string v) { description_ = std::move(v); }
  void SetModel(std::string v) { model_ = std::move(v); }
  void SetSerialNumber(std::string v) { serialNumber_ = std::move(v); }
  std::shared_ptr<EMEquipment> Clone() const { return std::make_shared<EMEquipment>(*this); }
  // Same instrument, serial number, model and description (case-sensitive).
  // Anything that is not equipment shows "Not type of Equipment" and is
  // not equal.
  bool Equals(IInterface* other) const;
  // Text that is the same for two items exactly when Equals holds.
  std::string EqualityKey() const;

 private:
  std::string instrument_, serialNumber_, model_, description_;
};

class EquipmentIterator : public ListViewIterator<IEquipmentIterator, IEquipment, EMEquipment> {};

}  // namespace veldrane
