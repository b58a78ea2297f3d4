#pragma once
// Fills the metadata document kept beside a survey file (the survey file's
// full name + ".xml") from the survey's own header values, so that what the
// file says always wins over what the stored document said. Layout: FGDC
// "idinfo" and "spref" sections plus a "halden" section for benchmarks,
// gages, equipment, crew and weather.
//
// Loading a document from a file needs a concrete XML property set and so
// lives in the host layer (host/pugi_xml_property_set.h:
// LoadXMLPropSetFromFile, NewXmlPropertySet).
#include <filesystem>
#include <string>

#include "config/xml_property_set.h"
#include "model/features.h"

namespace veldrane {

// Whether `folder` / (`name` + ".xml") is an existing regular file.
bool XMLFileExists(const std::filesystem::path& folder, const std::string& name);

// The metadata document path of a survey file: its full name + ".xml".
std::filesystem::path MetadataPathFor(const std::filesystem::path& surveyFile);

// Write the survey's (or traverse's) values into the document at fixed
// paths, in a fixed order. Undefined numbers become empty text and
// undefined dates are not written, where the layout says so. An unexpected
// failure stops the writer, keeps what was written so far and is reported
// once through the error-propagation module (error window) naming the
// writer; neither function throws.
void SetMetadataValuesFromEM(IXmlPropertySet& propSet, ISurvey& survey);
void SetMetadataValuesFromTraverse(IXmlPropertySet& propSet, ITraverse& traverse);

// Fills the document from what the survey factory returned: the EM writer
// for an ISurvey, the traverse writer for an ITraverse. False (nothing
// written) for anything else.
bool SetMetadataValuesFrom(IXmlPropertySet& propSet, IInterface& surveyOrTraverse);

}  // namespace veldrane
