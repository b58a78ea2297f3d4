#pragma once
// JSON views of the survey model: every member of a survey, a traverse and
// their features, in slot order, written as they are read (see
// cli/json_writer.h), for `veldrane dump` and anything else that wants the
// model as data (the fuzz target feeds read surveys through it).
//
// Strings are always valid UTF-8 (survey files are often Windows-1252),
// numbers keep their exact double value (sentinels 0.0001 / 9999999
// included), non-finite numbers become null, dates are "YYYY-MM-DDTHH:MM:SS".
// Linked benchmarks and gage readings inside features are given by name.
// Each Write* function writes one value (an object) where the writer stands.
#include <cstdint>
#include <memory>
#include <string>

#include "model/features.h"
#include "model/survey_error.h"

namespace veldrane {

class JsonWriter;

void WriteSurveyPoint(JsonWriter& w, ISurveyPoint& point);
void WriteVerticalControl(JsonWriter& w, IVerticalControl& benchmark);
void WriteGage(JsonWriter& w, IGage& gage);
void WriteCrewMember(JsonWriter& w, ICrewMember& member);
void WriteEquipment(JsonWriter& w, IEquipment& item);
void WriteWeather(JsonWriter& w, IWeather& observation);
void WriteCrossSection(JsonWriter& w, ICrossSection& section);
void WriteProfileCenterline(JsonWriter& w, IProfileCenterline& profile);
void WriteMiscShotPoint(JsonWriter& w, IMiscShotPoint& shot);
void WriteAreaRing(JsonWriter& w, IAreaRing& ring);
void WriteSurveyArea(JsonWriter& w, ISurveyArea& area);
void WriteTraversePoint(JsonWriter& w, ITraversePoint& point);

// Every ISurvey member except Errors, GetCustomCode and HasCustomCode.
void WriteSurvey(JsonWriter& w, ISurvey& survey);
// Every ITraverse member except Errors.
void WriteTraverse(JsonWriter& w, ITraverse& traverse);

// One error record: {"Filename", "LineNumber", "Description", "severity"}.
void WriteErrorRecord(JsonWriter& w, const std::string& filename, std::int32_t line, const std::string& description,
                      std::int32_t severity);
// Pops every record of the queue, oldest first, into an array. A null queue
// gives an empty array.
void WriteErrors(JsonWriter& w, ISurveyErrorQueue* queue);

// The whole dump of an opened survey file:
// {"file", "kind": "survey"|"traverse", "survey"|"traverse": {...}, "errors": [...]}.
// The errors are drained last, after every member was read, because reading
// members (a baseline, cross-section points) may queue records. Throws
// std::invalid_argument, before writing anything, when the object is neither
// a survey nor a traverse.
void WriteSurveyFile(JsonWriter& w, const std::string& path, const std::shared_ptr<IInterface>& object);
// The same as one string, for tests and the fuzz target.
std::string SurveyFileJsonText(const std::string& path, const std::shared_ptr<IInterface>& object, bool pretty);

}  // namespace veldrane
