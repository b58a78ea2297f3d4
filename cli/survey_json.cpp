#include "cli/survey_json.h"

#include <cmath>
#include <stdexcept>

#include "model/date_time.h"
#include "model/text.h"

namespace veldrane {
namespace {

OrderedJson Text(const std::string& text) { return OrderedJson(ToValidUtf8(text)); }

// nlohmann prints the shortest text that reads back as the same double; it
// cannot print NaN or infinities, which JSON has no words for.
OrderedJson Number(double value) {
  if (!std::isfinite(value)) return nullptr;
  return OrderedJson(value);
}

OrderedJson Date(const DateTime& value) { return OrderedJson(value.ToIso()); }

template <class T>
OrderedJson NameOf(const std::shared_ptr<T>& linked) {
  if (!linked) return nullptr;
  return Text(linked->Name());
}

// What an iterator yields from Initialize until GetNext returns none.
template <class Iterator, class Convert>
OrderedJson ArrayOf(const std::shared_ptr<Iterator>& iterator, Convert convert) {
  OrderedJson items = OrderedJson::array();
  if (!iterator) return items;
  iterator->Initialize();
  while (auto item = iterator->GetNext()) items.push_back(convert(*item));
  return items;
}

}  // namespace

OrderedJson SurveyPointToJson(ISurveyPoint& p) {
  OrderedJson j = OrderedJson::object();
  j["X"] = Number(p.X());
  j["Y"] = Number(p.Y());
  j["Z"] = Number(p.Z());
  j["Code"] = Text(p.Code());
  j["CodeDescription"] = Text(p.CodeDescription());
  j["Id"] = p.Id();
  j["VerticalAdjustment"] = Number(p.VerticalAdjustment());
  j["Station"] = Number(p.Station());
  j["PointTag"] = Text(p.PointTag());
  j["LateralOffset"] = Number(p.LateralOffset());
  j["BaselineOffset"] = Number(p.BaselineOffset());
  return j;
}

OrderedJson VerticalControlToJson(IVerticalControl& b) {
  OrderedJson j = OrderedJson::object();
  j["Name"] = Text(b.Name());
  j["Northing"] = Number(b.Northing());
  j["Easting"] = Number(b.Easting());
  j["DocumentedElevation"] = Number(b.DocumentedElevation());
  j["VerticalDatum"] = Text(b.VerticalDatum());
  j["Epoch"] = Text(b.Epoch());
  j["Condition"] = Text(b.Condition());
  j["MeasuredElevation"] = Number(b.MeasuredElevation());
  j["PID"] = Text(b.PID());
  j["Description"] = Text(b.Description());
  j["IsPermanent"] = b.IsPermanent();
  j["Adjustment"] = Number(b.Adjustment());
  j["SurveyDate"] = Date(b.SurveyDate());
  j["FieldBook"] = Text(b.FieldBook());
  j["PageNumber"] = Text(b.PageNumber());
  j["LocalMeanSeaLevelRelationship"] = Number(b.LocalMeanSeaLevelRelationship());
  j["MeanLowerLowWaterRelationship"] = Number(b.MeanLowerLowWaterRelationship());
  j["NationalTidalDatumEpoch"] = Text(b.NationalTidalDatumEpoch());
  return j;
}

OrderedJson GageToJson(IGage& g) {
  OrderedJson j = OrderedJson::object();
  j["WaterSurfaceElevation"] = Number(g.WaterSurfaceElevation());
  j["Name"] = Text(g.Name());
  j["Northing"] = Number(g.Northing());
  j["Easting"] = Number(g.Easting());
  j["Code"] = Text(g.Code());
  j["MeasurementDate"] = Date(g.MeasurementDate());
  j["LocalMeanSeaLevelReference"] = Number(g.LocalMeanSeaLevelReference());
  j["MeanLowerLowWaterReference"] = Number(g.MeanLowerLowWaterReference());
  j["Description"] = Text(g.Description());
  j["FieldBook"] = Text(g.FieldBook());
  j["PageNumber"] = Text(g.PageNumber());
  j["Benchmark"] = NameOf(g.Benchmark());
  return j;
}

OrderedJson CrewMemberToJson(ICrewMember& m) {
  OrderedJson j = OrderedJson::object();
  j["Name"] = Text(m.Name());
  j["Assignment"] = Text(m.Assignment());
  return j;
}

OrderedJson EquipmentToJson(IEquipment& e) {
  OrderedJson j = OrderedJson::object();
  j["Instrument"] = Text(e.Instrument());
  j["SerialNumber"] = Text(e.SerialNumber());
  j["Model"] = Text(e.Model());
  j["Description"] = Text(e.Description());
  return j;
}

OrderedJson WeatherToJson(IWeather& w) {
  OrderedJson j = OrderedJson::object();
  j["Temperature"] = Text(w.Temperature());
  j["Pressure"] = Text(w.Pressure());
  j["Humidity"] = Text(w.Humidity());
  j["CloudConditions"] = Text(w.CloudConditions());
  j["WindSpeed"] = Text(w.WindSpeed());
  j["WindDirection"] = Text(w.WindDirection());
  j["TimeStamp"] = Date(w.TimeStamp());
  j["FieldBook"] = Text(w.FieldBook());
  j["PageNumber"] = Text(w.PageNumber());
  return j;
}

OrderedJson CrossSectionToJson(ICrossSection& s) {
  OrderedJson j = OrderedJson::object();
  j["Points"] = ArrayOf(s.Points(), SurveyPointToJson);
  j["StartX"] = Number(s.StartX());
  j["StartY"] = Number(s.StartY());
  j["StopX"] = Number(s.StopX());
  j["StopY"] = Number(s.StopY());
  j["Station"] = Number(s.Station());
  j["RangeName"] = Text(s.RangeName());
  j["AltName"] = Text(s.AltName());
  j["Benchmark"] = NameOf(s.Benchmark());
  j["Gage"] = NameOf(s.Gage());
  j["FieldBook"] = Text(s.FieldBook());
  j["PageNumber"] = Text(s.PageNumber());
  j["WaterSurfaceElevation"] = Number(s.WaterSurfaceElevation());
  j["WaterSurfaceTime"] = Date(s.WaterSurfaceTime());
  j["SurveyDate"] = Date(s.SurveyDate());
  j["Description"] = Text(s.Description());
  j["GridAzimuth"] = Number(s.GridAzimuth());
  j["GeodeticAzimuth"] = Number(s.GeodeticAzimuth());
  j["BaselineIntersectX"] = Number(s.BaselineIntersectX());
  j["BaselineIntersectY"] = Number(s.BaselineIntersectY());
  return j;
}

OrderedJson ProfileCenterlineToJson(IProfileCenterline& p) {
  OrderedJson j = OrderedJson::object();
  j["Points"] = ArrayOf(p.Points(), SurveyPointToJson);
  j["StartX"] = Number(p.StartX());
  j["StartY"] = Number(p.StartY());
  j["Station"] = Number(p.Station());
  j["AltName"] = Text(p.AltName());
  j["Benchmark"] = NameOf(p.Benchmark());
  j["Gage"] = NameOf(p.Gage());
  j["FieldBook"] = Text(p.FieldBook());
  j["PageNumber"] = Text(p.PageNumber());
  j["WaterSurfaceElevation"] = Number(p.WaterSurfaceElevation());
  j["WaterSurfaceTime"] = Date(p.WaterSurfaceTime());
  j["SurveyDate"] = Date(p.SurveyDate());
  j["Description"] = Text(p.Description());
  return j;
}

OrderedJson MiscShotPointToJson(IMiscShotPoint& m) {
  OrderedJson j = OrderedJson::object();
  const auto point = m.Point();
  j["Point"] = point ? SurveyPointToJson(*point) : OrderedJson(nullptr);
  j["Description"] = Text(m.Description());
  j["Benchmark"] = NameOf(m.Benchmark());
  j["FieldBook"] = Text(m.FieldBook());
  j["PageNumber"] = Text(m.PageNumber());
  j["SurveyDate"] = Date(m.SurveyDate());
  j["Gage"] = NameOf(m.Gage());
  j["WaterSurfaceElevation"] = Number(m.WaterSurfaceElevation());
  j["WaterSurfaceTime"] = Date(m.WaterSurfaceTime());
  return j;
}

OrderedJson AreaRingToJson(IAreaRing& r) {
  OrderedJson j = OrderedJson::object();
  j["SurveyPoints"] = ArrayOf(r.SurveyPoints(), SurveyPointToJson);
  j["InternalRings"] = ArrayOf(r.InternalRings(), AreaRingToJson);
  return j;
}

OrderedJson SurveyAreaToJson(ISurveyArea& a) {
  OrderedJson j = OrderedJson::object();
  const auto ring = a.AreaRing();
  j["AreaRing"] = ring ? AreaRingToJson(*ring) : OrderedJson(nullptr);
  j["AltName"] = Text(a.AltName());
  j["Benchmark"] = NameOf(a.Benchmark());
  j["FieldBook"] = Text(a.FieldBook());
  j["PageNumber"] = Text(a.PageNumber());
  j["SurveyDate"] = Date(a.SurveyDate());
  j["Description"] = Text(a.Description());
  j["Gage"] = NameOf(a.Gage());
  j["WaterSurfaceElevation"] = Number(a.WaterSurfaceElevation());
  j["WaterSurfaceTime"] = Date(a.WaterSurfaceTime());
  return j;
}

OrderedJson TraversePointToJson(ITraversePoint& t) {
  OrderedJson j = OrderedJson::object();
  j["TraversePointId"] = t.TraversePointId();
  j["AdjustedAngle"] = Number(t.AdjustedAngle());
  j["AdjustedDistance"] = Number(t.AdjustedDistance());
  j["BackGeodeticAzimuth"] = Number(t.BackGeodeticAzimuth());
  j["ScaleFactor"] = Number(t.ScaleFactor());
  j["Convergence"] = Number(t.Convergence());
  j["Latitude"] = Number(t.Latitude());
  j["Longitude"] = Number(t.Longitude());
  j["Northing"] = Number(t.Northing());
  j["Easting"] = Number(t.Easting());
  j["Station"] = Number(t.Station());
  j["StationName"] = Text(t.StationName());
  j["AltName"] = Text(t.AltName());
  j["MeasuredAngle"] = Number(t.MeasuredAngle());
  j["MeasuredDistance"] = Number(t.MeasuredDistance());
  j["ForwardGeodeticAzimuth"] = Number(t.ForwardGeodeticAzimuth());
  j["PlaneDistance"] = Number(t.PlaneDistance());
  j["PlaneAzimuth"] = Number(t.PlaneAzimuth());
  return j;
}

OrderedJson TraverseToJson(ITraverse& t) {
  OrderedJson j = OrderedJson::object();
  j["JobNumber"] = Text(t.JobNumber());
  j["OriginalFileName"] = Text(t.OriginalFileName());
  j["HorizontalDatum"] = Text(t.HorizontalDatum());
  j["HorizontalEpoch"] = Text(t.HorizontalEpoch());
  j["HorizontalAccuracy"] = Number(t.HorizontalAccuracy());
  j["HorizontalAccuracyClass"] = Text(t.HorizontalAccuracyClass());
  j["TraverseDate"] = Date(t.TraverseDate());
  j["FieldBook"] = Text(t.FieldBook());
  j["PageNumber"] = Text(t.PageNumber());
  j["Title"] = Text(t.Title());
  j["Projection"] = Text(t.Projection());
  j["Units"] = Text(t.Units());
  j["TraversePoints"] = ArrayOf(t.TraversePoints(), TraversePointToJson);
  j["Comments"] = Text(t.Comments());
  return j;
}

OrderedJson SurveyToJson(ISurvey& s) {
  OrderedJson j = OrderedJson::object();
  j["JobNumber"] = Text(s.JobNumber());
  j["Title"] = Text(s.Title());
  j["Comments"] = Text(s.Comments());
  j["OriginalFileName"] = Text(s.OriginalFileName());
  j["Contractor"] = Text(s.Contractor());
  j["HorizontalDatum"] = Text(s.HorizontalDatum());
  j["VerticalDatum"] = Text(s.VerticalDatum());
  j["Epoch"] = Text(s.Epoch());
  j["Location"] = Text(s.Location());
  j["SurveyOrder"] = Text(s.SurveyOrder());
  j["CrossSections"] = ArrayOf(s.CrossSections(), CrossSectionToJson);
  j["ProfileCenterlines"] = ArrayOf(s.ProfileCenterlines(), ProfileCenterlineToJson);
  j["SurveyDate"] = Date(s.SurveyDate());
  j["SurveyStartDate"] = Date(s.SurveyStartDate());
  j["SurveyEndDate"] = Date(s.SurveyEndDate());
  j["MiscShotPoints"] = ArrayOf(s.MiscShotPoints(), MiscShotPointToJson);
  j["Areas"] = ArrayOf(s.Areas(), SurveyAreaToJson);
  j["Units"] = Text(s.Units());
  j["Projection"] = Text(s.Projection());
  j["VerticalControls"] = ArrayOf(s.VerticalControls(), VerticalControlToJson);
  j["Gages"] = ArrayOf(s.Gages(), GageToJson);
  j["FieldBook"] = Text(s.FieldBook());
  j["PageNumber"] = Text(s.PageNumber());
  j["CrewMembers"] = ArrayOf(s.CrewMembers(), CrewMemberToJson);
  j["Equipment"] = ArrayOf(s.Equipment(), EquipmentToJson);
  j["Weather"] = ArrayOf(s.Weather(), WeatherToJson);
  const auto baseline = s.Baseline();
  j["Baseline"] = baseline ? TraverseToJson(*baseline) : OrderedJson(nullptr);
  j["BaselineFileName"] = Text(s.BaselineFileName());
  j["CombinedScaleFactor"] = Number(s.CombinedScaleFactor());
  j["version"] = Text(s.version());
  j["HorizontalEpoch"] = Text(s.HorizontalEpoch());
  j["HorizontalAccuracyClass"] = Text(s.HorizontalAccuracyClass());
  j["VerticalAccuracy"] = Number(s.VerticalAccuracy());
  j["ParishName"] = Text(s.ParishName());
  j["ContractNumber"] = Text(s.ContractNumber());
  j["HorizontalAccuracy"] = Number(s.HorizontalAccuracy());
  j["VerticalAccuracyClass"] = Text(s.VerticalAccuracyClass());
  j["QuadName"] = Text(s.QuadName());
  return j;
}

OrderedJson ErrorToJson(const ISurveyError& e) {
  OrderedJson j = OrderedJson::object();
  j["Filename"] = Text(e.Filename());
  j["LineNumber"] = e.LineNumber();
  j["Description"] = Text(e.Description());
  j["severity"] = e.severity();
  return j;
}

OrderedJson DrainErrorsToJson(ISurveyErrorQueue* queue) {
  OrderedJson records = OrderedJson::array();
  if (!queue) return records;
  while (!queue->IsEmpty()) {
    const auto error = queue->Pop();
    if (error) records.push_back(ErrorToJson(*error));
  }
  return records;
}

OrderedJson SurveyFileToJson(const std::string& path, const std::shared_ptr<IInterface>& object) {
  OrderedJson j = OrderedJson::object();
  j["file"] = Text(path);
  if (auto survey = std::dynamic_pointer_cast<ISurvey>(object)) {
    j["kind"] = "survey";
    j["survey"] = SurveyToJson(*survey);
    j["errors"] = DrainErrorsToJson(survey->Errors().get());
  } else if (auto traverse = std::dynamic_pointer_cast<ITraverse>(object)) {
    j["kind"] = "traverse";
    j["traverse"] = TraverseToJson(*traverse);
    j["errors"] = DrainErrorsToJson(traverse->Errors().get());
  } else {
    throw std::invalid_argument(path + " was read as neither a survey nor a traverse");
  }
  return j;
}

}  // namespace veldrane
