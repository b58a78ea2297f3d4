#pragma once
// The survey's metadata document (docs/metadata.md: the stored document
// beside a survey file, filled from the file's own values) offered to GDAL
// clients as the "xml:FGDC" metadata domain: of a dataset opened on one
// survey file, and of every layer (its file's document). The document is
// made when a client first asks for the domain, and kept.
#include <map>
#include <memory>
#include <string>

#include <gdal_priv.h>

namespace veldrane {
class SvyWorkspaceHelper;
}

namespace veldrane::ogr {

inline constexpr const char* kFgdcDomain = "xml:FGDC";

// The filled documents of one dataset's survey files, made on request.
class MetadataDocuments {
 public:
  explicit MetadataDocuments(std::shared_ptr<SvyWorkspaceHelper> workspace) : workspace_(std::move(workspace)) {}

  // The document of the survey file `localName` as XML text; empty when it
  // cannot be made (the data source reports why).
  const std::string& XmlOf(const std::string& localName);

 private:
  std::shared_ptr<SvyWorkspaceHelper> workspace_;
  std::map<std::string, std::string> xml_;
};

bool IsFgdcDomain(const char* domain);
// Gives `object` the document as the "xml:FGDC" domain's one item (nothing
// for an empty document).
void SetFgdcDomain(GDALMajorObject& object, const std::string& xml);

// The object's domains with "xml:FGDC" added (takes the list over).
char** WithFgdcDomain(char** domains);

}  // namespace veldrane::ogr
