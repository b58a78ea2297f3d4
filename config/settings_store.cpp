#include "config/settings_store.h"

#include <array>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "config/file_system.h"
#include "model/text.h"

namespace veldrane {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kDwordPrefix = "dword:";
constexpr std::string_view kTextPrefix = "sz:";

// The configuration path values that an environment variable may override.
constexpr std::array<std::string_view, 3> kOverridableNames = {"DomainFilePath", "CoordSysFilePath", "PrjPath"};

std::string_view TrimSpace(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

std::string GetEnv(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::optional<std::int32_t> ParseDword(std::string_view hex) {
  if (hex.empty() || hex.size() > 8) return std::nullopt;
  std::uint32_t v = 0;
  for (char c : hex) {
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      return std::nullopt;
    v = v * 16 + static_cast<std::uint32_t>(digit);
  }
  return static_cast<std::int32_t>(v);
}

std::optional<std::string> ParseQuoted(std::string_view text) {
  if (text.size() < 2 || text.front() != '"' || text.back() != '"') return std::nullopt;
  std::string out;
  for (std::size_t i = 1; i + 1 < text.size(); ++i) {
    char c = text[i];
    if (c == '"') return std::nullopt;
    if (c == '\\') {
      if (i + 2 >= text.size()) return std::nullopt;
      switch (text[++i]) {
        case '\\': c = '\\'; break;
        case '"': c = '"'; break;
        case 'n': c = '\n'; break;
        case 'r': c = '\r'; break;
        case 't': c = '\t'; break;
        default: return std::nullopt;
      }
    }
    out += c;
  }
  return out;
}

std::optional<RegValue> DecodeValue(std::string_view text) {
  if (StartsWithIgnoreCase(text, kDwordPrefix)) {
    if (auto v = ParseDword(TrimSpace(text.substr(kDwordPrefix.size())))) return RegValue(*v);
    return std::nullopt;
  }
  if (StartsWithIgnoreCase(text, kTextPrefix)) {
    if (auto s = ParseQuoted(TrimSpace(text.substr(kTextPrefix.size())))) return RegValue(std::move(*s));
    return std::nullopt;
  }
  return RegValue(std::string(text));
}

bool NeedsQuoting(std::string_view text) {
  if (text.empty()) return false;
  if (TrimSpace(text).size() != text.size()) return true;
  for (unsigned char c : text)
    if (c < 0x20 || c == 0x7f) return true;
  return StartsWithIgnoreCase(text, kDwordPrefix) || StartsWithIgnoreCase(text, kTextPrefix);
}

std::string EncodeValue(const RegValue& value) {
  if (const auto* n = std::get_if<std::int32_t>(&value)) {
    static const char* digits = "0123456789abcdef";
    std::string hex(8, '0');
    auto u = static_cast<std::uint32_t>(*n);
    for (int i = 7; i >= 0; --i, u >>= 4) hex[static_cast<std::size_t>(i)] = digits[u & 0xf];
    return std::string(kDwordPrefix) + hex;
  }
  const std::string text = RegValueText(value);
  if (!NeedsQuoting(text)) return text;
  std::string out = std::string(kTextPrefix) + "\"";
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default: out += c;
    }
  }
  return out + "\"";
}

// True when `keyPath` names `parent` itself or a key below it.
bool IsSameOrBelow(std::string_view keyPath, std::string_view parent) {
  if (parent.empty()) return true;
  if (!StartsWithIgnoreCase(keyPath, parent)) return false;
  return keyPath.size() == parent.size() || keyPath[parent.size()] == '\\';
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    auto end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    if (end == text.size()) break;
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
  return lines;
}

}  // namespace

std::string RegValueText(const RegValue& value) {
  if (const auto* s = std::get_if<std::string>(&value)) return *s;
  if (const auto* n = std::get_if<std::int32_t>(&value)) return std::to_string(*n);
  return {};
}

fs::path DefaultUserSettingsFile() {
  if (auto explicitFile = GetEnv("VELDRANE_SETTINGS"); !explicitFile.empty()) return explicitFile;
  if (auto xdg = GetEnv("XDG_CONFIG_HOME"); !xdg.empty() && fs::path(xdg).is_absolute())
    return fs::path(xdg) / "veldrane" / "settings.ini";
  if (auto home = GetEnv("HOME"); !home.empty()) return fs::path(home) / ".config" / "veldrane" / "settings.ini";
  return {};
}

fs::path DefaultSystemSettingsFile() {
  if (auto explicitFile = GetEnv("VELDRANE_SYSTEM_SETTINGS"); !explicitFile.empty()) return explicitFile;
  return "/etc/veldrane/settings.ini";
}

// ---------------------------------------------------------------------------
// SettingsDocument

bool SettingsDocument::IsWritableKeyPath(std::string_view keyPath) {
  if (TrimSpace(keyPath).size() != keyPath.size()) return false;
  for (unsigned char c : keyPath)
    if (c < 0x20 || c == ']' || c == '[') return false;
  return true;
}

bool SettingsDocument::IsWritableValueName(std::string_view name) {
  if (name.empty() || TrimSpace(name).size() != name.size()) return false;
  if (name.front() == '[' || name.front() == ';' || name.front() == '#') return false;
  for (unsigned char c : name)
    if (c < 0x20 || c == '=') return false;
  return true;
}

void SettingsDocument::AddLine(Section& section, Line line) {
  if (line.isValue) {
    for (auto& existing : section.lines) {
      if (existing.isValue && EqualsIgnoreCase(existing.name, line.name)) {
        existing.value = std::move(line.value);
        return;
      }
    }
  }
  section.lines.push_back(std::move(line));
}

SettingsDocument SettingsDocument::Parse(std::string_view text) {
  SettingsDocument doc;
  // A UTF-8 byte order mark written by some editors is not part of the text.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::size_t current = 0;
  for (const auto rawLine : SplitLines(text)) {
    const auto line = TrimSpace(rawLine);
    if (line.empty()) continue;
    if (line.front() == '[') {
      if (line.back() == ']' && line.size() >= 2) {
        const auto& section = doc.SectionFor(TrimSpace(line.substr(1, line.size() - 2)));
        current = static_cast<std::size_t>(&section - doc.sections_.data());
        continue;
      }
      AddLine(doc.sections_[current], Line{false, std::string(rawLine), {}});
      continue;
    }
    const auto eq = line.find('=');
    const auto name = eq == std::string_view::npos ? std::string_view() : TrimSpace(line.substr(0, eq));
    std::optional<RegValue> value;
    if (line.front() != ';' && line.front() != '#' && !name.empty())
      value = DecodeValue(TrimSpace(line.substr(eq + 1)));
    if (value)
      AddLine(doc.sections_[current], Line{true, std::string(name), std::move(*value)});
    else
      AddLine(doc.sections_[current], Line{false, std::string(rawLine), {}});
  }
  return doc;
}

SettingsDocument SettingsDocument::Load(const fs::path& file) {
  if (file.empty() || !FileExists(file)) return {};
  std::ifstream in(file, std::ios::binary);
  if (!in) return {};
  std::ostringstream buffer;
  buffer << in.rdbuf();
  return Parse(buffer.str());
}

std::string SettingsDocument::Serialize() const {
  std::string out;
  auto writeLines = [&out](const Section& section) {
    for (const auto& line : section.lines) {
      if (line.isValue)
        out += line.name + "=" + EncodeValue(line.value) + "\n";
      else
        out += line.name + "\n";
    }
  };
  writeLines(sections_[0]);
  for (std::size_t i = 1; i < sections_.size(); ++i) {
    if (!out.empty()) out += "\n";
    out += "[" + sections_[i].keyPath + "]\n";
    writeLines(sections_[i]);
  }
  return out;
}

SettingsDocument::Section* SettingsDocument::FindSection(std::string_view keyPath) {
  for (auto& s : sections_)
    if (EqualsIgnoreCase(s.keyPath, keyPath)) return &s;
  return nullptr;
}

const SettingsDocument::Section* SettingsDocument::FindSection(std::string_view keyPath) const {
  for (const auto& s : sections_)
    if (EqualsIgnoreCase(s.keyPath, keyPath)) return &s;
  return nullptr;
}

SettingsDocument::Section& SettingsDocument::SectionFor(std::string_view keyPath) {
  if (auto* s = FindSection(keyPath)) return *s;
  sections_.push_back(Section{std::string(keyPath), {}});
  return sections_.back();
}

bool SettingsDocument::HasKey(std::string_view keyPath) const {
  if (keyPath.empty()) return true;
  for (std::size_t i = 1; i < sections_.size(); ++i)
    if (IsSameOrBelow(sections_[i].keyPath, keyPath)) return true;
  return false;
}

void SettingsDocument::CreateKey(std::string_view keyPath) { SectionFor(keyPath); }

bool SettingsDocument::DeleteKey(std::string_view keyPath) {
  if (keyPath.empty()) return false;
  const auto before = sections_.size();
  for (std::size_t i = sections_.size(); i-- > 1;)
    if (IsSameOrBelow(sections_[i].keyPath, keyPath)) sections_.erase(sections_.begin() + static_cast<long>(i));
  return sections_.size() != before;
}

const RegValue* SettingsDocument::Find(std::string_view keyPath, std::string_view name) const {
  const auto* section = FindSection(keyPath);
  if (!section) return nullptr;
  for (const auto& line : section->lines)
    if (line.isValue && EqualsIgnoreCase(line.name, name)) return &line.value;
  return nullptr;
}

bool SettingsDocument::Set(std::string_view keyPath, std::string_view name, RegValue value) {
  if (!IsWritableKeyPath(keyPath) || !IsWritableValueName(name)) return false;
  if (std::holds_alternative<std::monostate>(value)) value = std::string();
  AddLine(SectionFor(keyPath), Line{true, std::string(name), std::move(value)});
  return true;
}

RegValueList SettingsDocument::Values(std::string_view keyPath) const {
  RegValueList values;
  if (const auto* section = FindSection(keyPath))
    for (const auto& line : section->lines)
      if (line.isValue) values.emplace_back(line.name, line.value);
  return values;
}

// ---------------------------------------------------------------------------
// SettingsStore

SettingsStore::SettingsStore() : SettingsStore(DefaultUserSettingsFile(), DefaultSystemSettingsFile()) {}

SettingsStore::SettingsStore(fs::path userFile, fs::path systemFile)
    : userFile_(std::move(userFile)), systemFile_(std::move(systemFile)) {}

std::string SettingsStore::OverrideVariable(std::string_view keyPath, std::string_view name) {
  if (!EqualsIgnoreCase(keyPath, kVeldranePathsKey)) return {};
  for (const auto known : kOverridableNames)
    if (EqualsIgnoreCase(known, name)) return "VELDRANE_" + ToUpperAscii(known);
  return {};
}

bool SettingsStore::KeyExists(std::string_view keyPath) const {
  for (const auto name : kOverridableNames) {
    const auto variable = OverrideVariable(keyPath, name);
    if (!variable.empty() && !GetEnv(variable.c_str()).empty()) return true;
  }
  return SettingsDocument::Load(userFile_).HasKey(keyPath) || SettingsDocument::Load(systemFile_).HasKey(keyPath);
}

std::optional<RegValue> SettingsStore::GetValue(std::string_view keyPath, std::string_view name) const {
  if (const auto variable = OverrideVariable(keyPath, name); !variable.empty()) {
    if (auto text = GetEnv(variable.c_str()); !text.empty()) return RegValue(std::move(text));
  }
  const auto user = SettingsDocument::Load(userFile_);
  if (const auto* v = user.Find(keyPath, name)) return *v;
  const auto system = SettingsDocument::Load(systemFile_);
  if (const auto* v = system.Find(keyPath, name)) return *v;
  return std::nullopt;
}

RegValueList SettingsStore::GetValues(std::string_view keyPath) const {
  RegValueList values = SettingsDocument::Load(userFile_).Values(keyPath);
  auto find = [&values](std::string_view name) -> RegValue* {
    for (auto& [n, v] : values)
      if (EqualsIgnoreCase(n, name)) return &v;
    return nullptr;
  };
  for (auto& [name, value] : SettingsDocument::Load(systemFile_).Values(keyPath))
    if (!find(name)) values.emplace_back(name, value);
  for (const auto name : kOverridableNames) {
    const auto variable = OverrideVariable(keyPath, name);
    if (variable.empty()) continue;
    auto text = GetEnv(variable.c_str());
    if (text.empty()) continue;
    if (auto* existing = find(name))
      *existing = text;
    else
      values.emplace_back(std::string(name), std::move(text));
  }
  return values;
}

bool SettingsStore::Save(const SettingsDocument& document, std::error_code& error) const {
  if (userFile_.empty()) {
    error = std::make_error_code(std::errc::no_such_file_or_directory);
    return false;
  }
  try {
    if (const auto folder = userFile_.parent_path(); !folder.empty()) fs::create_directories(folder);
    WriteFileAtomically(userFile_, document.Serialize());
  } catch (const fs::filesystem_error& e) {
    error = e.code();
    return false;
  }
  error.clear();
  return true;
}

bool SettingsStore::CreateKey(std::string_view keyPath, std::error_code& error) const {
  if (keyPath.empty() || !SettingsDocument::IsWritableKeyPath(keyPath)) {
    error = std::make_error_code(std::errc::invalid_argument);
    return false;
  }
  auto document = SettingsDocument::Load(userFile_);
  document.CreateKey(keyPath);
  return Save(document, error);
}

bool SettingsStore::DeleteKey(std::string_view keyPath, std::error_code& error) const {
  auto document = SettingsDocument::Load(userFile_);
  if (!document.DeleteKey(keyPath)) {
    error = std::make_error_code(std::errc::no_such_file_or_directory);
    return false;
  }
  return Save(document, error);
}

bool SettingsStore::SetValue(std::string_view keyPath, std::string_view name, RegValue value,
                             std::error_code& error) const {
  auto document = SettingsDocument::Load(userFile_);
  if (!document.Set(keyPath, name, std::move(value))) {
    error = std::make_error_code(std::errc::invalid_argument);
    return false;
  }
  return Save(document, error);
}

}  // namespace veldrane
