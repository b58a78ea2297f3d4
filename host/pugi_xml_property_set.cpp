#include "host/pugi_xml_property_set.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <vector>

#include "config/file_access.h"
#include "config/file_system.h"
#include "config/metadata_writer.h"
#include "model/constants.h"
#include "model/text.h"

namespace veldrane {
namespace {

constexpr const char* kReplacementChar = "\xEF\xBF\xBD";  // U+FFFD

struct PathStep {
  std::string name;
  std::optional<std::size_t> index;  // nullopt: no "[i]" written
  std::size_t Index() const { return index.value_or(0); }
};

bool IsNameStart(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
}

bool IsNameChar(unsigned char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

[[noreturn]] void BadPath(const std::string& path, const std::string& why) {
  throw std::invalid_argument("Invalid metadata element path \"" + path + "\" : " + why);
}

PathStep ParseStep(const std::string& path, std::string_view step) {
  PathStep parsed;
  std::string_view name = step;
  const auto open = step.find('[');
  if (open != std::string_view::npos) {
    if (step.back() != ']') BadPath(path, "an index must end the step");
    const std::string_view digits = step.substr(open + 1, step.size() - open - 2);
    if (digits.empty() || digits.size() > 9 || !IsAllDigits(digits)) BadPath(path, "an index must be 0 or more");
    parsed.index = static_cast<std::size_t>(std::stoul(std::string(digits)));
    name = step.substr(0, open);
  }
  if (name.empty()) BadPath(path, "empty element name");
  if (!IsNameStart(static_cast<unsigned char>(name.front()))) BadPath(path, "bad element name");
  for (const char c : name) {
    if (!IsNameChar(static_cast<unsigned char>(c))) BadPath(path, "bad element name");
  }
  parsed.name = std::string(name);
  return parsed;
}

std::vector<PathStep> ParsePath(const std::string& path) {
  std::vector<PathStep> steps;
  for (const std::string_view step : SplitKeepEmpty(path, '/')) steps.push_back(ParseStep(path, step));
  if (steps.size() >= kMaxXmlDepth) BadPath(path, "too many steps");
  return steps;
}

// The index-th child element named `name`, or an empty node.
pugi::xml_node NthChild(pugi::xml_node parent, const std::string& name, std::size_t index) {
  std::size_t seen = 0;
  for (pugi::xml_node child = parent.child(name.c_str()); child; child = child.next_sibling(name.c_str())) {
    if (seen++ == index) return child;
  }
  return {};
}

// Appends an element named `name` after the last element of that name (or
// at the end when there is none), keeping records of one kind together.
pugi::xml_node AppendAfterSameName(pugi::xml_node parent, const std::string& name) {
  pugi::xml_node last;
  for (pugi::xml_node child = parent.child(name.c_str()); child; child = child.next_sibling(name.c_str())) {
    last = child;
  }
  return last ? parent.insert_child_after(name.c_str(), last) : parent.append_child(name.c_str());
}

std::size_t CountChildren(pugi::xml_node parent, const std::string& name) {
  std::size_t count = 0;
  for (pugi::xml_node child = parent.child(name.c_str()); child; child = child.next_sibling(name.c_str())) ++count;
  return count;
}

// The element the first `count` steps name, creating the missing ones. An
// index may name an existing element or the next one of its name; one
// further on would leave a gap and is refused before anything changes.
pugi::xml_node FindOrCreate(pugi::xml_node root, const std::vector<PathStep>& steps, std::size_t count,
                            const std::string& path) {
  pugi::xml_node node = root;
  std::size_t found = 0;
  for (; found < count; ++found) {
    pugi::xml_node next = NthChild(node, steps[found].name, steps[found].Index());
    if (!next) break;
    node = next;
  }
  for (std::size_t k = found; k < count; ++k) {
    const std::size_t existing = k == found ? CountChildren(node, steps[k].name) : 0;
    if (steps[k].Index() != existing) {
      BadPath(path, steps[k].name + "[" + std::to_string(steps[k].Index()) + "] does not exist and is not the next one");
    }
  }
  for (std::size_t k = found; k < count; ++k) node = AppendAfterSameName(node, steps[k].name);
  return node;
}

void ReplaceContent(pugi::xml_node element, const std::string& text) {
  while (pugi::xml_node child = element.first_child()) element.remove_child(child);
  if (!text.empty()) element.append_child(pugi::node_pcdata).set_value(text.c_str());
}

bool IsForbiddenControl(unsigned char c) { return c < 0x20 && c != '\t' && c != '\n' && c != '\r'; }

// Valid UTF-8 that XML 1.0 can carry: bytes that are not UTF-8 are read as
// Windows-1252; control characters and the non-characters U+FFFE / U+FFFF,
// which no XML document may contain, become U+FFFD.
std::string ToXmlText(std::string_view text) {
  const std::string utf8 = ToValidUtf8(text);
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (IsForbiddenControl(c)) {
      out += kReplacementChar;
    } else if (c == 0xEF && i + 2 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) == 0xBF &&
               (static_cast<unsigned char>(utf8[i + 2]) == 0xBE || static_cast<unsigned char>(utf8[i + 2]) == 0xBF)) {
      out += kReplacementChar;
      i += 2;
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  return out;
}

bool NeedsCleaning(const char* value) {
  for (const char* p = value; *p != '\0'; ++p) {
    const auto c = static_cast<unsigned char>(*p);
    if (IsForbiddenControl(c) || c >= 0x80) return true;
  }
  return false;
}

void CleanNode(pugi::xml_node node) {
  if (NeedsCleaning(node.value())) node.set_value(ToXmlText(node.value()).c_str());
  for (pugi::xml_attribute attribute : node.attributes()) {
    if (NeedsCleaning(attribute.value())) attribute.set_value(ToXmlText(attribute.value()).c_str());
  }
}

// pugixml keeps a repeated attribute, which no XML reader would accept back.
bool RepeatsAnAttribute(pugi::xml_node node) {
  std::vector<std::string_view> names;
  for (pugi::xml_attribute attribute : node.attributes()) names.emplace_back(attribute.name());
  std::sort(names.begin(), names.end());
  return std::adjacent_find(names.begin(), names.end()) != names.end();
}

// Checks what pugixml leaves to its caller (one root element, no DOCTYPE,
// bounded nesting) and makes every value carriable. Walks the tree without
// recursion so a deep document cannot exhaust the stack. Empty when fine,
// else the reason.
std::string CheckAndClean(pugi::xml_document& document) {
  std::size_t roots = 0;
  for (pugi::xml_node child : document.children()) {
    if (child.type() == pugi::node_element) ++roots;
    else if (child.type() == pugi::node_doctype) return "a DOCTYPE declaration is not accepted";
    else if (child.type() != pugi::node_comment && child.type() != pugi::node_pi) return "text outside the root element";
  }
  if (roots != 1) return "the document must have exactly one root element";
  pugi::xml_node node = document.first_child();
  std::size_t depth = 1;
  while (node) {
    if (node.type() == pugi::node_doctype) return "a DOCTYPE declaration is not accepted";
    if (RepeatsAnAttribute(node)) return std::string("attribute repeated in element ") + node.name();
    CleanNode(node);
    if (pugi::xml_node child = node.first_child()) {
      if (child.type() == pugi::node_element && depth + 1 > kMaxXmlDepth) {
        return "elements are nested deeper than " + std::to_string(kMaxXmlDepth) + " levels";
      }
      node = child;
      ++depth;
      continue;
    }
    while (!node.next_sibling()) {
      node = node.parent();
      if (--depth == 0) return {};
    }
    node = node.next_sibling();
  }
  return {};
}

// 1-based line of a byte offset; CR LF, LF and a lone CR each end a line.
std::int32_t LineOfOffset(std::string_view text, std::ptrdiff_t offset) {
  const std::size_t end = std::min(text.size(), static_cast<std::size_t>(std::max<std::ptrdiff_t>(offset, 0)));
  std::int32_t line = 1;
  for (std::size_t i = 0; i < end; ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) ++line;
  }
  return line;
}

// UTF-16 and UTF-32 documents start with a byte order mark or with "<"
// next to a zero byte; pugixml converts those itself.
bool LooksWideEncoded(std::string_view text) {
  if (text.size() < 2) return false;
  const auto b0 = static_cast<unsigned char>(text[0]);
  const auto b1 = static_cast<unsigned char>(text[1]);
  return (b0 == 0xFF && b1 == 0xFE) || (b0 == 0xFE && b1 == 0xFF) || b0 == 0 || b1 == 0;
}

std::shared_ptr<ISurveyError> LoadError(const std::string& source, std::int32_t line, const std::string& why) {
  return std::make_shared<GenericSurveyError>(source, line, "Invalid metadata document : " + why, kSeverityError);
}

class StringWriter : public pugi::xml_writer {
 public:
  void write(const void* data, std::size_t size) override { text.append(static_cast<const char*>(data), size); }
  std::string text;
};

}  // namespace

PugiXmlPropertySet::PugiXmlPropertySet() { Clear(); }

void PugiXmlPropertySet::Clear() {
  document_.reset();
  document_.append_child(kMetadataRootName);
}

pugi::xml_node PugiXmlPropertySet::Root() const { return document_.document_element(); }

void PugiXmlPropertySet::StoreProperty(const std::string& path, const std::string& text, int propertyType,
                                       int action, bool /*isFinal*/) {
  if (propertyType != 0) throw std::invalid_argument("Unsupported metadata property type " + std::to_string(propertyType));
  if (action != kXmlSetProperty && action != kXmlAddProperty) {
    throw std::invalid_argument("Unsupported metadata property action " + std::to_string(action));
  }
  const std::vector<PathStep> steps = ParsePath(path);
  const bool adding = action == kXmlAddProperty;
  if (adding && steps.back().index) BadPath(path, "a new element takes no index");
  pugi::xml_node node = FindOrCreate(Root(), steps, adding ? steps.size() - 1 : steps.size(), path);
  if (adding) node = AppendAfterSameName(node, steps.back().name);
  ReplaceContent(node, ToXmlText(text));
}

std::optional<std::string> PugiXmlPropertySet::GetProperty(const std::string& path) const {
  pugi::xml_node node = Root();
  for (const PathStep& step : ParsePath(path)) {
    node = NthChild(node, step.name, step.Index());
    if (!node) return std::nullopt;
  }
  return std::string(node.child_value());
}

std::shared_ptr<ISurveyError> PugiXmlPropertySet::LoadFromFile(const std::filesystem::path& file) {
  Clear();
  const std::string source = file.string();
  const auto in = CurrentFileAccess().OpenForReading(source);
  if (!in) return LoadError(source, 0, "cannot read the file");
  if (in->Size() > kMaxXmlFileBytes) return LoadError(source, 0, "the file is larger than 64 MB");
  std::string text;
  try {
    text = ReadAll(*in);
  } catch (const FileReadError& failure) {
    return LoadError(source, 0, failure.what());
  }
  return LoadFromText(text, source);
}

std::shared_ptr<ISurveyError> PugiXmlPropertySet::LoadFromText(const std::string& text, const std::string& sourceName) {
  Clear();
  if (text.size() > kMaxXmlFileBytes) return LoadError(sourceName, 0, "the document is larger than 64 MB");
  const bool wide = LooksWideEncoded(text);
  const std::string buffer = wide ? text : ToValidUtf8(text);
  const unsigned flags = pugi::parse_default | pugi::parse_fragment | pugi::parse_doctype | pugi::parse_comments | pugi::parse_pi;
  const pugi::xml_parse_result result =
      document_.load_buffer(buffer.data(), buffer.size(), flags, wide ? pugi::encoding_auto : pugi::encoding_utf8);
  if (!result) {
    Clear();
    const std::int32_t line = wide ? 0 : LineOfOffset(buffer, result.offset);
    return LoadError(sourceName, line, std::string(result.description()));
  }
  if (std::string why = CheckAndClean(document_); !why.empty()) {
    Clear();
    return LoadError(sourceName, 0, why);
  }
  return nullptr;
}

std::string PugiXmlPropertySet::GetXml() const {
  StringWriter writer;
  writer.text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  document_.save(writer, "  ", pugi::format_indent | pugi::format_no_declaration, pugi::encoding_utf8);
  return writer.text;
}

std::shared_ptr<ISurveyError> PugiXmlPropertySet::SaveAsFile(const std::filesystem::path& file) const {
  const std::string target = file.string();
  try {
    if (FileExists(file) && IsArchiveAttributeSet(file)) {
      return std::make_shared<GenericSurveyError>(target, 0, "Metadata file is read-only and was not replaced",
                                                  kSeverityError);
    }
    WriteFileAtomically(file, GetXml());
  } catch (const std::exception& failure) {
    return std::make_shared<GenericSurveyError>(target, 0, std::string("Cannot save metadata : ") + failure.what(),
                                                kSeverityError);
  }
  return nullptr;
}

std::shared_ptr<IXmlPropertySet> NewXmlPropertySet() { return std::make_shared<PugiXmlPropertySet>(); }

std::shared_ptr<IXmlPropertySet> LoadXMLPropSetFromFile(const std::filesystem::path& file, ISurveyErrorQueue* errors) {
  auto set = std::make_shared<PugiXmlPropertySet>();
  if (auto failure = set->LoadFromFile(file); failure && errors != nullptr) errors->Push(failure);
  return set;
}

std::shared_ptr<IXmlPropertySet> LoadMetadataFor(const std::filesystem::path& surveyFile, ISurveyErrorQueue* errors) {
  const std::filesystem::path stored = MetadataPathFor(surveyFile);
  if (!FileExists(stored)) return NewXmlPropertySet();
  return LoadXMLPropSetFromFile(stored, errors);
}

}  // namespace veldrane
