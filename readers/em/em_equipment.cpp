#include "readers/em/em_equipment.h"

#include "model/notifier.h"

namespace veldrane {

bool EMEquipment::Equals(IInterface* other) const {
  auto* item = dynamic_cast<IEquipment*>(other);
  if (item == nullptr) {
    CurrentNotifier().Notify(NoticeKind::MessageBox, "", "Not type of Equipment");
    return false;
  }
  return instrument_ == item->Instrument() && serialNumber_ == item->SerialNumber() && model_ == item->Model() &&
         description_ == item->Description();
}

std::string EMEquipment::EqualityKey() const {
  std::string key;
  for (const std::string* field : {&instrument_, &serialNumber_, &model_, &description_})
    key.append(std::to_string(field->size())).append(":").append(*field);
  return key;
}

}  // namespace veldrane
