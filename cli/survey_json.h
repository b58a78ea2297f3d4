#pragma once
// JSON views of the survey model: every member of a survey, a traverse and
// their features, in slot order, for `veldrane dump` and anything else that
// wants the model as data (the fuzz target feeds read surveys through it).
//
// Strings are always valid UTF-8 (survey files are often Windows-1252),
// numbers keep their exact double value (sentinels 0.0001 / 9999999
// included), non-finite numbers become null, dates are "YYYY-MM-DDTHH:MM:SS".
// Linked benchmarks and gage readings inside features are given by name.
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "model/features.h"
#include "model/survey_error.h"

namespace veldrane {

using OrderedJson = nlohmann::ordered_json;

OrderedJson SurveyPointToJson(ISurveyPoint& point);
OrderedJson VerticalControlToJson(IVerticalControl& benchmark);
OrderedJson GageToJson(IGage& gage);
OrderedJson CrewMemberToJson(ICrewMember& member);
OrderedJson EquipmentToJson(IEquipment& item);
OrderedJson WeatherToJson(IWeather& observation);
OrderedJson CrossSectionToJson(ICrossSection& section);
OrderedJson ProfileCenterlineToJson(IProfileCenterline& profile);
OrderedJson MiscShotPointToJson(IMiscShotPoint& shot);
OrderedJson AreaRingToJson(IAreaRing& ring);
OrderedJson SurveyAreaToJson(ISurveyArea& area);
OrderedJson TraversePointToJson(ITraversePoint& point);

// Every ISurvey member except Errors, GetCustomCode and HasCustomCode.
OrderedJson SurveyToJson(ISurvey& survey);
// Every ITraverse member except Errors.
OrderedJson TraverseToJson(ITraverse& traverse);

// One error record: Filename, LineNumber, Description, severity.
OrderedJson ErrorToJson(const ISurveyError& error);
// Pops every record of the queue, oldest first, into an array. A null queue
// gives an empty array.
OrderedJson DrainErrorsToJson(ISurveyErrorQueue* queue);

// The whole dump of an opened survey file:
// {"file", "kind": "survey"|"traverse", "survey"|"traverse": {...}, "errors": [...]}.
// The errors are drained last, after every member was read, because reading
// members (a baseline, cross-section points) may queue records. Throws
// std::invalid_argument when the object is neither a survey nor a traverse.
OrderedJson SurveyFileToJson(const std::string& path, const std::shared_ptr<IInterface>& object);

}  // namespace veldrane
