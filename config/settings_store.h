#pragma once
// The settings store that stands in for the Windows registry: a small INI
// file whose section names are registry key paths, backslashes kept.
//
// File format (UTF-8 text, any line break style):
//
//   ; comment            (also "#"; comments and unreadable lines are kept
//                         when the file is rewritten, but otherwise ignored)
//   rootvalue=text       (values before any section belong to the hive itself)
//   [Software\Fennick\Veldrane\Paths]
//   DomainFilePath=/usr/local/share/veldrane/DOMAINS.csv
//   Retries=dword:0000002a
//   Banner=sz:"  text with blanks around,\nor a line break  "
//
// A value is one of:
//   - a 32-bit integer: "dword:" and 1 to 8 hexadecimal digits (two's
//     complement, so dword:ffffffff reads back as -1);
//   - quoted text: "sz:" and a double-quoted string with the escapes \\ \"
//     \n \r \t; used on writing whenever plain text would not read back
//     exactly (blanks at either end, control characters, or text that itself
//     starts with "dword:" or "sz:");
//   - plain text: anything else, trimmed of blanks and tabs.
// Section and value names compare without regard to ASCII case, like
// registry names. A repeated section continues the first one; a repeated
// value name replaces the earlier value. Lines that fit none of these forms
// are ignored.
//
// Where the files are:
//   - user file: $VELDRANE_SETTINGS (a file path) if set, else
//     $XDG_CONFIG_HOME/veldrane/settings.ini, else
//     ~/.config/veldrane/settings.ini. Every write goes here.
//   - system file: $VELDRANE_SYSTEM_SETTINGS if set, else
//     /etc/veldrane/settings.ini. Only read, as a fallback: a value missing
//     from the user file is looked up there.
//   - environment overrides of the three configuration paths under
//     "Software\Fennick\Veldrane\Paths": VELDRANE_DOMAINFILEPATH,
//     VELDRANE_COORDSYSFILEPATH and VELDRANE_PRJPATH (when set and not
//     empty) win over both files.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <variant>
#include <vector>

namespace veldrane {

// A registry value: nothing (std::monostate), text, or a 32-bit integer.
using RegValue = std::variant<std::monostate, std::string, std::int32_t>;
using RegValueList = std::vector<std::pair<std::string, RegValue>>;

// The key under which the configuration paths are kept.
inline constexpr const char* kVeldranePathsKey = "Software\\Fennick\\Veldrane\\Paths";

// Text of a value: the string itself, the integer in decimal, empty for none.
std::string RegValueText(const RegValue& value);

std::filesystem::path DefaultUserSettingsFile();
std::filesystem::path DefaultSystemSettingsFile();

// One settings file held in memory, comments and unreadable lines included,
// so that rewriting it keeps what a person wrote.
class SettingsDocument {
 public:
  static SettingsDocument Parse(std::string_view text);
  // A missing or unreadable file gives an empty document.
  static SettingsDocument Load(const std::filesystem::path& file);
  std::string Serialize() const;

  // True when the key itself or any key below it is present. The empty key
  // path (the hive) always exists.
  bool HasKey(std::string_view keyPath) const;
  void CreateKey(std::string_view keyPath);
  // Removes the key and every key below it; false when there was none.
  bool DeleteKey(std::string_view keyPath);
  // nullptr when the key or the value is absent.
  const RegValue* Find(std::string_view keyPath, std::string_view name) const;
  // Creates the key when missing. False (and nothing changed) when the
  // name cannot be written in the file format.
  bool Set(std::string_view keyPath, std::string_view name, RegValue value);
  // The values of the key in file order; empty when the key is absent.
  RegValueList Values(std::string_view keyPath) const;

  static bool IsWritableKeyPath(std::string_view keyPath);
  static bool IsWritableValueName(std::string_view name);

 private:
  struct Line {
    bool isValue = false;
    std::string name;  // value name, or the raw text of a comment/unreadable line
    RegValue value;
  };
  struct Section {
    std::string keyPath;
    std::vector<Line> lines;
  };

  Section* FindSection(std::string_view keyPath);
  const Section* FindSection(std::string_view keyPath) const;
  Section& SectionFor(std::string_view keyPath);
  static void AddLine(Section& section, Line line);

  std::vector<Section> sections_ = {Section{}};  // sections_[0] is the hive itself
};

// The user file layered over the system file, under the environment
// overrides. Nothing is cached: every call reads the files as they are.
class SettingsStore {
 public:
  SettingsStore();  // the default locations
  SettingsStore(std::filesystem::path userFile, std::filesystem::path systemFile);

  const std::filesystem::path& UserFile() const { return userFile_; }
  const std::filesystem::path& SystemFile() const { return systemFile_; }

  bool KeyExists(std::string_view keyPath) const;
  // nullopt when the value is absent everywhere.
  std::optional<RegValue> GetValue(std::string_view keyPath, std::string_view name) const;
  // User values first, then system values the user file does not override,
  // then environment overrides not already listed (replacing listed ones).
  RegValueList GetValues(std::string_view keyPath) const;

  // Writes go to the user file, atomically. They report a failure through
  // `error` (and change nothing) instead of throwing.
  bool CreateKey(std::string_view keyPath, std::error_code& error) const;
  // Deletes the key from the user file; a copy in the system file stays
  // visible to reads.
  bool DeleteKey(std::string_view keyPath, std::error_code& error) const;
  bool SetValue(std::string_view keyPath, std::string_view name, RegValue value, std::error_code& error) const;

  // The environment variable that overrides a value, or empty when none
  // does ("VELDRANE_DOMAINFILEPATH" for DomainFilePath under the paths key).
  static std::string OverrideVariable(std::string_view keyPath, std::string_view name);

 private:
  bool Save(const SettingsDocument& document, std::error_code& error) const;

  std::filesystem::path userFile_;
  std::filesystem::path systemFile_;
};

}  // namespace veldrane
