#include "cli/survey_json.h"

#include <sstream>
#include <stdexcept>

#include "cli/json_writer.h"
#include "model/date_time.h"
#include "model/text.h"

namespace veldrane {
namespace {

void Text(JsonWriter& w, const char* key, const std::string& text) { w.Key(key).String(ToValidUtf8(text)); }

void Number(JsonWriter& w, const char* key, double value) { w.Key(key).Number(value); }

void Date(JsonWriter& w, const char* key, const DateTime& value) { w.Key(key).String(value.ToIso()); }

template <class T>
void NameOf(JsonWriter& w, const char* key, const std::shared_ptr<T>& linked) {
  if (linked) w.Key(key).String(ToValidUtf8(linked->Name()));
  else w.Key(key).Null();
}

// What an iterator yields from Initialize until GetNext returns none.
template <class Iterator, class Write>
void ArrayOf(JsonWriter& w, const char* key, const std::shared_ptr<Iterator>& iterator, Write write) {
  w.Key(key).BeginArray();
  if (iterator) {
    iterator->Initialize();
    while (auto item = iterator->GetNext()) write(w, *item);
  }
  w.EndArray();
}

// A single member object, or null when there is none.
template <class T, class Write>
void Optional(JsonWriter& w, const char* key, const std::shared_ptr<T>& member, Write write) {
  w.Key(key);
  if (member) write(w, *member);
  else w.Null();
}

}  // namespace

void WriteSurveyPoint(JsonWriter& w, ISurveyPoint& p) {
  w.BeginObject();
  Number(w, "X", p.X());
  Number(w, "Y", p.Y());
  Number(w, "Z", p.Z());
  Text(w, "Code", p.Code());
  Text(w, "CodeDescription", p.CodeDescription());
  w.Key("Id").Integer(p.Id());
  Number(w, "VerticalAdjustment", p.VerticalAdjustment());
  Number(w, "Station", p.Station());
  Text(w, "PointTag", p.PointTag());
  Number(w, "LateralOffset", p.LateralOffset());
  Number(w, "BaselineOffset", p.BaselineOffset());
  w.EndObject();
}

void WriteVerticalControl(JsonWriter& w, IVerticalControl& b) {
  w.BeginObject();
  Text(w, "Name", b.Name());
  Number(w, "Northing", b.Northing());
  Number(w, "Easting", b.Easting());
  Number(w, "DocumentedElevation", b.DocumentedElevation());
  Text(w, "VerticalDatum", b.VerticalDatum());
  Text(w, "Epoch", b.Epoch());
  Text(w, "Condition", b.Condition());
  Number(w, "MeasuredElevation", b.MeasuredElevation());
  Text(w, "PID", b.PID());
  Text(w, "Description", b.Description());
  w.Key("IsPermanent").Bool(b.IsPermanent());
  Number(w, "Adjustment", b.Adjustment());
  Date(w, "SurveyDate", b.SurveyDate());
  Text(w, "FieldBook", b.FieldBook());
  Text(w, "PageNumber", b.PageNumber());
  Number(w, "LocalMeanSeaLevelRelationship", b.LocalMeanSeaLevelRelationship());
  Number(w, "MeanLowerLowWaterRelationship", b.MeanLowerLowWaterRelationship());
  Text(w, "NationalTidalDatumEpoch", b.NationalTidalDatumEpoch());
  w.EndObject();
}

void WriteGage(JsonWriter& w, IGage& g) {
  w.BeginObject();
  Number(w, "WaterSurfaceElevation", g.WaterSurfaceElevation());
  Text(w, "Name", g.Name());
  Number(w, "Northing", g.Northing());
  Number(w, "Easting", g.Easting());
  Text(w, "Code", g.Code());
  Date(w, "MeasurementDate", g.MeasurementDate());
  Number(w, "LocalMeanSeaLevelReference", g.LocalMeanSeaLevelReference());
  Number(w, "MeanLowerLowWaterReference", g.MeanLowerLowWaterReference());
  Text(w, "Description", g.Description());
  Text(w, "FieldBook", g.FieldBook());
  Text(w, "PageNumber", g.PageNumber());
  NameOf(w, "Benchmark", g.Benchmark());
  w.EndObject();
}

void WriteCrewMember(JsonWriter& w, ICrewMember& m) {
  w.BeginObject();
  Text(w, "Name", m.Name());
  Text(w, "Assignment", m.Assignment());
  w.EndObject();
}

void WriteEquipment(JsonWriter& w, IEquipment& e) {
  w.BeginObject();
  Text(w, "Instrument", e.Instrument());
  Text(w, "SerialNumber", e.SerialNumber());
  Text(w, "Model", e.Model());
  Text(w, "Description", e.Description());
  w.EndObject();
}

void WriteWeather(JsonWriter& w, IWeather& o) {
  w.BeginObject();
  Text(w, "Temperature", o.Temperature());
  Text(w, "Pressure", o.Pressure());
  Text(w, "Humidity", o.Humidity());
  Text(w, "CloudConditions", o.CloudConditions());
  Text(w, "WindSpeed", o.WindSpeed());
  Text(w, "WindDirection", o.WindDirection());
  Date(w, "TimeStamp", o.TimeStamp());
  Text(w, "FieldBook", o.FieldBook());
  Text(w, "PageNumber", o.PageNumber());
  w.EndObject();
}

void WriteCrossSection(JsonWriter& w, ICrossSection& s) {
  w.BeginObject();
  ArrayOf(w, "Points", s.Points(), WriteSurveyPoint);
  Number(w, "StartX", s.StartX());
  Number(w, "StartY", s.StartY());
  Number(w, "StopX", s.StopX());
  Number(w, "StopY", s.StopY());
  Number(w, "Station", s.Station());
  Text(w, "RangeName", s.RangeName());
  Text(w, "AltName", s.AltName());
  NameOf(w, "Benchmark", s.Benchmark());
  NameOf(w, "Gage", s.Gage());
  Text(w, "FieldBook", s.FieldBook());
  Text(w, "PageNumber", s.PageNumber());
  Number(w, "WaterSurfaceElevation", s.WaterSurfaceElevation());
  Date(w, "WaterSurfaceTime", s.WaterSurfaceTime());
  Date(w, "SurveyDate", s.SurveyDate());
  Text(w, "Description", s.Description());
  Number(w, "GridAzimuth", s.GridAzimuth());
  Number(w, "GeodeticAzimuth", s.GeodeticAzimuth());
  Number(w, "BaselineIntersectX", s.BaselineIntersectX());
  Number(w, "BaselineIntersectY", s.BaselineIntersectY());
  w.EndObject();
}

void WriteProfileCenterline(JsonWriter& w, IProfileCenterline& p) {
  w.BeginObject();
  ArrayOf(w, "Points", p.Points(), WriteSurveyPoint);
  Number(w, "StartX", p.StartX());
  Number(w, "StartY", p.StartY());
  Number(w, "Station", p.Station());
  Text(w, "AltName", p.AltName());
  NameOf(w, "Benchmark", p.Benchmark());
  NameOf(w, "Gage", p.Gage());
  Text(w, "FieldBook", p.FieldBook());
  Text(w, "PageNumber", p.PageNumber());
  Number(w, "WaterSurfaceElevation", p.WaterSurfaceElevation());
  Date(w, "WaterSurfaceTime", p.WaterSurfaceTime());
  Date(w, "SurveyDate", p.SurveyDate());
  Text(w, "Description", p.Description());
  w.EndObject();
}

void WriteMiscShotPoint(JsonWriter& w, IMiscShotPoint& m) {
  w.BeginObject();
  const auto point = m.Point();
  Optional(w, "Point", point, WriteSurveyPoint);
  Text(w, "Description", m.Description());
  NameOf(w, "Benchmark", m.Benchmark());
  Text(w, "FieldBook", m.FieldBook());
  Text(w, "PageNumber", m.PageNumber());
  Date(w, "SurveyDate", m.SurveyDate());
  NameOf(w, "Gage", m.Gage());
  Number(w, "WaterSurfaceElevation", m.WaterSurfaceElevation());
  Date(w, "WaterSurfaceTime", m.WaterSurfaceTime());
  w.EndObject();
}

void WriteAreaRing(JsonWriter& w, IAreaRing& r) {
  w.BeginObject();
  ArrayOf(w, "SurveyPoints", r.SurveyPoints(), WriteSurveyPoint);
  ArrayOf(w, "InternalRings", r.InternalRings(), WriteAreaRing);
  w.EndObject();
}

void WriteSurveyArea(JsonWriter& w, ISurveyArea& a) {
  w.BeginObject();
  const auto ring = a.AreaRing();
  Optional(w, "AreaRing", ring, WriteAreaRing);
  Text(w, "AltName", a.AltName());
  NameOf(w, "Benchmark", a.Benchmark());
  Text(w, "FieldBook", a.FieldBook());
  Text(w, "PageNumber", a.PageNumber());
  Date(w, "SurveyDate", a.SurveyDate());
  Text(w, "Description", a.Description());
  NameOf(w, "Gage", a.Gage());
  Number(w, "WaterSurfaceElevation", a.WaterSurfaceElevation());
  Date(w, "WaterSurfaceTime", a.WaterSurfaceTime());
  w.EndObject();
}

void WriteTraversePoint(JsonWriter& w, ITraversePoint& t) {
  w.BeginObject();
  w.Key("TraversePointId").Integer(t.TraversePointId());
  Number(w, "AdjustedAngle", t.AdjustedAngle());
  Number(w, "AdjustedDistance", t.AdjustedDistance());
  Number(w, "BackGeodeticAzimuth", t.BackGeodeticAzimuth());
  Number(w, "ScaleFactor", t.ScaleFactor());
  Number(w, "Convergence", t.Convergence());
  Number(w, "Latitude", t.Latitude());
  Number(w, "Longitude", t.Longitude());
  Number(w, "Northing", t.Northing());
  Number(w, "Easting", t.Easting());
  Number(w, "Station", t.Station());
  Text(w, "StationName", t.StationName());
  Text(w, "AltName", t.AltName());
  Number(w, "MeasuredAngle", t.MeasuredAngle());
  Number(w, "MeasuredDistance", t.MeasuredDistance());
  Number(w, "ForwardGeodeticAzimuth", t.ForwardGeodeticAzimuth());
  Number(w, "PlaneDistance", t.PlaneDistance());
  Number(w, "PlaneAzimuth", t.PlaneAzimuth());
  w.EndObject();
}

void WriteTraverse(JsonWriter& w, ITraverse& t) {
  w.BeginObject();
  Text(w, "JobNumber", t.JobNumber());
  Text(w, "OriginalFileName", t.OriginalFileName());
  Text(w, "HorizontalDatum", t.HorizontalDatum());
  Text(w, "HorizontalEpoch", t.HorizontalEpoch());
  Number(w, "HorizontalAccuracy", t.HorizontalAccuracy());
  Text(w, "HorizontalAccuracyClass", t.HorizontalAccuracyClass());
  Date(w, "TraverseDate", t.TraverseDate());
  Text(w, "FieldBook", t.FieldBook());
  Text(w, "PageNumber", t.PageNumber());
  Text(w, "Title", t.Title());
  Text(w, "Projection", t.Projection());
  Text(w, "Units", t.Units());
  ArrayOf(w, "TraversePoints", t.TraversePoints(), WriteTraversePoint);
  Text(w, "Comments", t.Comments());
  w.EndObject();
}

void WriteSurvey(JsonWriter& w, ISurvey& s) {
  w.BeginObject();
  Text(w, "JobNumber", s.JobNumber());
  Text(w, "Title", s.Title());
  Text(w, "Comments", s.Comments());
  Text(w, "OriginalFileName", s.OriginalFileName());
  Text(w, "Contractor", s.Contractor());
  Text(w, "HorizontalDatum", s.HorizontalDatum());
  Text(w, "VerticalDatum", s.VerticalDatum());
  Text(w, "Epoch", s.Epoch());
  Text(w, "Location", s.Location());
  Text(w, "SurveyOrder", s.SurveyOrder());
  ArrayOf(w, "CrossSections", s.CrossSections(), WriteCrossSection);
  ArrayOf(w, "ProfileCenterlines", s.ProfileCenterlines(), WriteProfileCenterline);
  Date(w, "SurveyDate", s.SurveyDate());
  Date(w, "SurveyStartDate", s.SurveyStartDate());
  Date(w, "SurveyEndDate", s.SurveyEndDate());
  ArrayOf(w, "MiscShotPoints", s.MiscShotPoints(), WriteMiscShotPoint);
  ArrayOf(w, "Areas", s.Areas(), WriteSurveyArea);
  Text(w, "Units", s.Units());
  Text(w, "Projection", s.Projection());
  ArrayOf(w, "VerticalControls", s.VerticalControls(), WriteVerticalControl);
  ArrayOf(w, "Gages", s.Gages(), WriteGage);
  Text(w, "FieldBook", s.FieldBook());
  Text(w, "PageNumber", s.PageNumber());
  ArrayOf(w, "CrewMembers", s.CrewMembers(), WriteCrewMember);
  ArrayOf(w, "Equipment", s.Equipment(), WriteEquipment);
  ArrayOf(w, "Weather", s.Weather(), WriteWeather);
  const auto baseline = s.Baseline();
  Optional(w, "Baseline", baseline, WriteTraverse);
  Text(w, "BaselineFileName", s.BaselineFileName());
  Number(w, "CombinedScaleFactor", s.CombinedScaleFactor());
  Text(w, "version", s.version());
  Text(w, "HorizontalEpoch", s.HorizontalEpoch());
  Text(w, "HorizontalAccuracyClass", s.HorizontalAccuracyClass());
  Number(w, "VerticalAccuracy", s.VerticalAccuracy());
  Text(w, "ParishName", s.ParishName());
  Text(w, "ContractNumber", s.ContractNumber());
  Number(w, "HorizontalAccuracy", s.HorizontalAccuracy());
  Text(w, "VerticalAccuracyClass", s.VerticalAccuracyClass());
  Text(w, "QuadName", s.QuadName());
  w.EndObject();
}

void WriteErrorRecord(JsonWriter& w, const std::string& filename, std::int32_t line, const std::string& description,
                      std::int32_t severity) {
  w.BeginObject();
  Text(w, "Filename", filename);
  w.Key("LineNumber").Integer(line);
  Text(w, "Description", description);
  w.Key("severity").Integer(severity);
  w.EndObject();
}

void WriteErrors(JsonWriter& w, ISurveyErrorQueue* queue) {
  w.BeginArray();
  while (queue && !queue->IsEmpty()) {
    const auto error = queue->Pop();
    if (error) WriteErrorRecord(w, error->Filename(), error->LineNumber(), error->Description(), error->severity());
  }
  w.EndArray();
}

void WriteSurveyFile(JsonWriter& w, const std::string& path, const std::shared_ptr<IInterface>& object) {
  const auto survey = std::dynamic_pointer_cast<ISurvey>(object);
  const auto traverse = std::dynamic_pointer_cast<ITraverse>(object);
  if (!survey && !traverse) throw std::invalid_argument(path + " was read as neither a survey nor a traverse");
  w.BeginObject();
  Text(w, "file", path);
  if (survey) {
    w.Key("kind").String("survey");
    w.Key("survey");
    WriteSurvey(w, *survey);
    w.Key("errors");
    WriteErrors(w, survey->Errors().get());
  } else {
    w.Key("kind").String("traverse");
    w.Key("traverse");
    WriteTraverse(w, *traverse);
    w.Key("errors");
    WriteErrors(w, traverse->Errors().get());
  }
  w.EndObject();
}

std::string SurveyFileJsonText(const std::string& path, const std::shared_ptr<IInterface>& object, bool pretty) {
  std::ostringstream text;
  {
    JsonWriter w(text, pretty);
    WriteSurveyFile(w, path, object);
  }
  return text.str();
}

}  // namespace veldrane
