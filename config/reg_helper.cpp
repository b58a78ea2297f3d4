#include "config/reg_helper.h"

#include <cmath>
#include <limits>

#include "model/notifier.h"
#include "model/text.h"

namespace veldrane {

// The settings live in a file here, not in a Windows registry, so the
// message names the registry without the platform.
const char* const kMissingKeyWarning = "Warning: Could not find key in the registry. Using Default value: ";

bool RegHelper::KeyExists(const std::string& KeyPath, Hive) const { return store_.KeyExists(KeyPath); }

void RegHelper::CreateKey(const std::string& KeyPath, Hive) const {
  std::error_code error;
  if (!store_.CreateKey(KeyPath, error))
    CurrentNotifier().Notify(NoticeKind::MessageBox, "", "Error " + std::to_string(error.value()));
}

void RegHelper::DeleteKey(const std::string& KeyPath, Hive) const {
  std::error_code error;
  store_.DeleteKey(KeyPath, error);
}

bool RegHelper::SetKeyValue(const std::string& KeyPath, const std::string& ValueName, const RegValue& Value,
                            int valueType, Hive) const {
  if (!store_.KeyExists(KeyPath)) return false;
  RegValue stored;
  if (valueType == kRegSz) {
    stored = RegValueText(Value);
  } else if (valueType == kRegDword) {
    if (const auto* n = std::get_if<std::int32_t>(&Value)) {
      stored = *n;
    } else {
      const auto number = ToNumber(RegValueText(Value));
      if (!number || *number < std::numeric_limits<std::int32_t>::min() ||
          *number > std::numeric_limits<std::int32_t>::max() || std::trunc(*number) != *number)
        return false;
      stored = static_cast<std::int32_t>(*number);
    }
  } else {
    return false;
  }
  std::error_code error;
  return store_.SetValue(KeyPath, ValueName, std::move(stored), error);
}

RegValue RegHelper::GetKeyValue(const std::string& KeyPath, const std::string& ValueName, Hive,
                                const RegValue& Default) const {
  if (!store_.KeyExists(KeyPath)) {
    CurrentNotifier().Notify(NoticeKind::MessageBox, "", kMissingKeyWarning + RegValueText(Default));
    return Default;
  }
  if (auto value = store_.GetValue(KeyPath, ValueName)) return *value;
  return RegValue{};
}

RegValueList RegHelper::GetKeyValues(const std::string& KeyPath, Hive) const { return store_.GetValues(KeyPath); }

}  // namespace veldrane
