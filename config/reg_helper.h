#pragma once
// The registry wrapper behind the configuration paths, served by the
// settings store (config/settings_store.h) on this platform. The hive
// argument is kept so callers read like their registry counterparts; the
// library only ever uses the local machine hive.
#include <cstdint>
#include <string>

#include "config/settings_store.h"

namespace veldrane {

enum class Hive { LocalMachine };

// Registry value types understood by SetKeyValue.
inline constexpr int kRegSz = 1;     // text
inline constexpr int kRegDword = 4;  // 32-bit integer

// "Warning: Could not find key in the registry. Using Default value: "
extern const char* const kMissingKeyWarning;

class RegHelper {
 public:
  RegHelper() = default;  // the default settings locations
  explicit RegHelper(SettingsStore store) : store_(std::move(store)) {}

  // True when the key (or a key below it) is present.
  bool KeyExists(const std::string& KeyPath, Hive hive = Hive::LocalMachine) const;
  // Creates the key. A failure is shown as a message box "Error " followed
  // by the system error code.
  void CreateKey(const std::string& KeyPath, Hive hive = Hive::LocalMachine) const;
  // Deletes the key with all keys below it. Missing keys are ignored.
  void DeleteKey(const std::string& KeyPath, Hive hive = Hive::LocalMachine) const;
  // Type 1 writes the value as text (an integer as its decimal digits);
  // type 4 writes a 32-bit integer (text must be a whole number in range);
  // other types, or a key that does not exist, write nothing. True when
  // something was written.
  bool SetKeyValue(const std::string& KeyPath, const std::string& ValueName, const RegValue& Value, int valueType,
                   Hive hive = Hive::LocalMachine) const;
  // The value, or `Default` after a warning message box when the key is
  // missing. An existing key without the value gives no value (monostate)
  // and no message.
  RegValue GetKeyValue(const std::string& KeyPath, const std::string& ValueName, Hive hive,
                       const RegValue& Default) const;
  // One (name, data) entry per value of the key; with an empty key path,
  // the values of the hive itself.
  RegValueList GetKeyValues(const std::string& KeyPath, Hive hive = Hive::LocalMachine) const;

  const SettingsStore& Store() const { return store_; }

 private:
  SettingsStore store_;
};

}  // namespace veldrane
