#include "readers/em/em_equipment.h"

namespace veldrane {

std::string EMEquipment::EqualityKey() const {
  std::string key;
  for (const std::string* field : {&instrument_, &serialNumber_, &model_, &description_})
    key.append(std::to_string(field->size())).append(":").append(*field);
  return key;
}

}  // namespace veldrane
