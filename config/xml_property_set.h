#pragma once
// The XML property set that metadata documents live in: a tree of elements
// addressed by slash-separated element paths. The metadata writers only know
// this interface, so they stay free of any XML library; the host layer
// supplies the concrete document (host/pugi_xml_property_set.h).
//
// Path syntax: steps separated by "/", each an XML element name optionally
// followed by a 0-based index in square brackets ("halden/vertcntl/permbm[1]/
// name"). A step without an index means index 0. Paths are relative to the
// document's root element.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "model/interface.h"
#include "model/survey_error.h"
#include "model/text.h"

namespace veldrane {

// What SetProperty does with the element its path names.
enum XmlPropertyAction : int {
  // Sets the element's value, creating the element and any missing parents;
  // the text replaces the element's whole content (text and child
  // elements), so a repeated section written again starts over instead of
  // piling up records.
  kXmlSetProperty = 0,
  // Adds a new element after any existing elements of the same name under
  // the same parent (parents are created when missing). Starts a record of a
  // repeated section.
  kXmlAddProperty = 3,
};

class IXmlPropertySet : public IInterface {
 public:
  // `propertyType` must be 0 (the only type documents use) and `isFinal` is
  // accepted for call compatibility and has no effect. A malformed path or
  // an unknown type or action throws std::invalid_argument.
  void SetProperty(const std::string& path, const std::string& value, int propertyType = 0,
                   int action = kXmlSetProperty, bool isFinal = false) {
    StoreProperty(path, value, propertyType, action, isFinal);
  }
  // Numbers are stored as the shortest text that reads back as the same
  // double, independent of any locale ("12.5", "0.0001", "-3").
  void SetProperty(const std::string& path, double value, int propertyType = 0, int action = kXmlSetProperty,
                   bool isFinal = false) {
    StoreProperty(path, FormatNumber(value), propertyType, action, isFinal);
  }
  // The text of the element a path names, or nullopt when there is none.
  virtual std::optional<std::string> GetProperty(const std::string& path) const = 0;

  // Replaces the document by the file's. On failure the document is left
  // empty (just the root element) and the returned record says why;
  // nullptr on success.
  virtual std::shared_ptr<ISurveyError> LoadFromFile(const std::filesystem::path& file) = 0;
  // Writes the document to `file` as a whole or not at all (a temporary file
  // beside it is renamed over it). A read-only target is never replaced.
  // nullptr on success, else a record that says why.
  virtual std::shared_ptr<ISurveyError> SaveAsFile(const std::filesystem::path& file) const = 0;
  // The document as the text SaveAsFile writes.
  virtual std::string GetXml() const = 0;

 protected:
  virtual void StoreProperty(const std::string& path, const std::string& text, int propertyType, int action,
                             bool isFinal) = 0;
};

}  // namespace veldrane
