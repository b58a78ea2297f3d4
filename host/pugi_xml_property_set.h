#pragma once
// The metadata document as an XML tree held by pugixml.
//
// Loading is defensive, since a metadata file is whatever sits beside a
// survey file: files over kMaxXmlFileBytes, elements nested deeper than
// kMaxXmlDepth, any DOCTYPE (so no entity can be declared, let alone
// expanded), and anything that is not well-formed XML are refused with an
// error record, leaving an empty document. Text that is not valid UTF-8 is
// read as Windows-1252, and characters XML cannot carry become U+FFFD, so
// what is saved or printed is always well-formed UTF-8.
//
// Output: UTF-8 without byte order mark, an XML declaration naming UTF-8,
// elements indented by two spaces. Comments and processing instructions of
// a loaded document are kept; its own XML declaration is replaced.
#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include <pugixml.hpp>

#include "config/xml_property_set.h"

namespace veldrane {

inline constexpr std::uintmax_t kMaxXmlFileBytes = 64u * 1024u * 1024u;
inline constexpr std::size_t kMaxXmlDepth = 256;
// The root element of a new (or emptied) document.
inline constexpr const char* kMetadataRootName = "metadata";

class PugiXmlPropertySet : public IXmlPropertySet {
 public:
  // An empty document: just the root element.
  PugiXmlPropertySet();

  std::optional<std::string> GetProperty(const std::string& path) const override;
  std::shared_ptr<ISurveyError> LoadFromFile(const std::filesystem::path& file) override;
  std::shared_ptr<ISurveyError> SaveAsFile(const std::filesystem::path& file) const override;
  std::string GetXml() const override;

  // Replaces the document by the XML text given (same checks as a file;
  // `sourceName` names it in the error record).
  std::shared_ptr<ISurveyError> LoadFromText(const std::string& text, const std::string& sourceName);

 protected:
  void StoreProperty(const std::string& path, const std::string& text, int propertyType, int action,
                     bool isFinal) override;

 private:
  void Clear();
  pugi::xml_node Root() const;

  pugi::xml_document document_;
};

// A new empty metadata document.
std::shared_ptr<IXmlPropertySet> NewXmlPropertySet();

// A new document loaded from `file`. When the file cannot be used the
// document is empty and, when `errors` is given, the reason is pushed there
// as an error record (severity 1).
std::shared_ptr<IXmlPropertySet> LoadXMLPropSetFromFile(const std::filesystem::path& file,
                                                        ISurveyErrorQueue* errors = nullptr);

// The stored metadata document of a survey file (its full name + ".xml")
// when there is one, else a new empty document; a stored document that
// cannot be used gives an empty one and its error record in `errors`.
std::shared_ptr<IXmlPropertySet> LoadMetadataFor(const std::filesystem::path& surveyFile,
                                                 ISurveyErrorQueue* errors = nullptr);

}  // namespace veldrane
