#include "gdal/survey_metadata_domain.h"

#include <cpl_string.h>

#include "config/xml_property_set.h"
#include "plugin/svy_workspace_helper.h"

namespace veldrane::ogr {

const std::string& MetadataDocuments::XmlOf(const std::string& localName) {
  const auto found = xml_.find(localName);
  if (found != xml_.end()) return found->second;
  std::string xml;
  if (workspace_) {
    if (const auto document = workspace_->Metadata(localName)) xml = document->GetXml();
  }
  return xml_.emplace(localName, std::move(xml)).first->second;
}

bool IsFgdcDomain(const char* domain) { return domain != nullptr && EQUAL(domain, kFgdcDomain); }

void SetFgdcDomain(GDALMajorObject& object, const std::string& xml) {
  if (xml.empty()) return;
  const char* const items[] = {xml.c_str(), nullptr};
  object.SetMetadata(const_cast<char**>(items), kFgdcDomain);
}

char** WithFgdcDomain(char** domains) {
  CPLStringList list(domains, TRUE);
  if (list.FindString(kFgdcDomain) < 0) list.AddString(kFgdcDomain);
  return list.StealList();
}

}  // namespace veldrane::ogr
