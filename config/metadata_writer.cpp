#include "config/metadata_writer.h"

#include <exception>

#include "config/file_system.h"
#include "config/value_domain.h"
#include "model/constants.h"
#include "model/error_propagation.h"

namespace veldrane {
namespace {

constexpr const char* kModule = "metadata_writer.cpp";

// Numbers the survey never gave are written as empty text, so the element
// is there but says nothing.
void SetNumberOrEmpty(IXmlPropertySet& set, const std::string& path, double value) {
  if (IsUndefined(value)) {
    set.SetProperty(path, std::string());
  } else {
    set.SetProperty(path, value);
  }
}

// The horizontal datum as the grid system and geodetic datum name it:
// "NAD83", or "NAD83 (1986)" when an epoch is given.
std::string DatumName(const std::string& datum, const std::string& epoch) {
  std::string name = DomainValueLookup("HORIZONTAL_DATUM", datum);
  if (!epoch.empty()) name += " (" + epoch + ")";
  return name;
}

// "halden/gages/gageread[2]/" for section "halden/gages", record "gageread",
// index 2.
std::string RecordPrefix(const std::string& section, const std::string& record, int index) {
  return section + "/" + record + "[" + std::to_string(index) + "]/";
}

// Starts record `index` of a repeated section: a new element after the ones
// already there, and the prefix under which its values go.
std::string StartRecord(IXmlPropertySet& set, const std::string& section, const std::string& record, int index) {
  set.SetProperty(section + "/" + record, std::string(), 0, kXmlAddProperty);
  return RecordPrefix(section, record, index);
}

void WriteSurveyHeader(IXmlPropertySet& set, ISurvey& survey) {
  set.SetProperty("idinfo/citation/citeinfo/title", survey.OriginalFileName());
  set.SetProperty("idinfo/citation/citeinfo/origin", survey.Contractor());
  set.SetProperty("idinfo/descript/supplinf", survey.Comments());
  set.SetProperty("spref/vertdef/altsys/altdatum", DomainValueLookup("VERTICAL_DATUM", survey.VerticalDatum()));
  set.SetProperty("spref/vertdef/altsys/altUnits", DomainValueLookup("UNITS", survey.Units()));
  const DateTime surveyDate = survey.SurveyDate();
  if (!surveyDate.IsUndefined()) set.SetProperty("idinfo/citation/citeinfo/pubdate", surveyDate.ToLongDate());
  set.SetProperty("idinfo/citation/serinfo/sername", survey.Title());
  set.SetProperty("idinfo/citation/serinfo/issue", survey.JobNumber());
  set.SetProperty("idinfo/citation/keywords/place/placekey", survey.Location());
  const std::string projection = survey.Projection();
  const std::string datum = DatumName(survey.HorizontalDatum(), survey.HorizontalEpoch());
  set.SetProperty("spref/horizsys/planar/mapproj/mapprojn", projection);
  set.SetProperty("spref/horizsys/planar/gridsys/gridsysn", "State Plane Coordinate System " + datum);
  set.SetProperty("spref/horizsys/geodetic/horizdn", datum);
  set.SetProperty("spref/horizsys/planar/gridsys/spcs/spcszone", DomainValueLookup("PROJECTION", projection));
  set.SetProperty("spref/vertdef/depthsys/depthdn", survey.Epoch());
  set.SetProperty("spref/horizsys/planar/planci/plandu", DomainValueLookup("UNITS", survey.Units()));
}

void WriteBenchmarks(IXmlPropertySet& set, IVerticalControlIterator* benchmarks) {
  if (benchmarks == nullptr) return;
  const std::string section = "halden/vertcntl";
  set.SetProperty(section, std::string());
  benchmarks->Initialize();
  int index = 0;
  while (auto benchmark = benchmarks->GetNext()) {
    const std::string at = StartRecord(set, section, "permbm", index++);
    set.SetProperty(at + "name", benchmark->Name());
    set.SetProperty(at + "status", std::string(benchmark->IsPermanent() ? "PBM" : "TBM"));
    set.SetProperty(at + "pid", benchmark->PID());
    set.SetProperty(at + "vdatum", benchmark->VerticalDatum());
    set.SetProperty(at + "epoch", benchmark->Epoch());
    SetNumberOrEmpty(set, at + "documentedelevation", benchmark->DocumentedElevation());
    SetNumberOrEmpty(set, at + "measuredelevation", benchmark->MeasuredElevation());
    set.SetProperty(at + "adjustment", benchmark->Adjustment());
    set.SetProperty(at + "descript", benchmark->Description());
  }
}

void WriteGages(IXmlPropertySet& set, IGageIterator* gages) {
  const std::string section = "halden/gages";
  set.SetProperty(section, std::string());
  if (gages == nullptr) return;
  gages->Initialize();
  int index = 0;
  while (auto gage = gages->GetNext()) {
    const std::string at = StartRecord(set, section, "gageread", index++);
    SetNumberOrEmpty(set, at + "wselevation", gage->WaterSurfaceElevation());
    set.SetProperty(at + "name", gage->Name());
    set.SetProperty(at + "id", gage->Code());
    SetNumberOrEmpty(set, at + "lmsl", gage->LocalMeanSeaLevelReference());
    SetNumberOrEmpty(set, at + "mllw", gage->MeanLowerLowWaterReference());
    const DateTime measured = gage->MeasurementDate();
    set.SetProperty(at + "date", measured.IsUndefined() ? std::string() : measured.ToGeneral());
    set.SetProperty(at + "descript", gage->Description());
  }
}

void WriteEquipment(IXmlPropertySet& set, IEquipmentIterator* equipment) {
  if (equipment == nullptr || equipment->Size() <= 0) return;
  const std::string section = "halden/equip";
  set.SetProperty(section, std::string());
  equipment->Initialize();
  int index = 0;
  while (auto item = equipment->GetNext()) {
    const std::string at = StartRecord(set, section, "instrument", index++);
    set.SetProperty(at + "name", item->Instrument());
    set.SetProperty(at + "model", item->Model());
    set.SetProperty(at + "serial", item->SerialNumber());
  }
}

void WriteCrew(IXmlPropertySet& set, ICrewMemberIterator* crew) {
  if (crew == nullptr || crew->Size() <= 0) return;
  const std::string section = "halden/crew";
  set.SetProperty(section, std::string());
  crew->Initialize();
  int index = 0;
  while (auto member = crew->GetNext()) {
    const std::string at = StartRecord(set, section, "person", index++);
    set.SetProperty(at + "name", member->Name());
  }
}

void WriteWeather(IXmlPropertySet& set, IWeatherIterator* weather) {
  if (weather == nullptr || weather->Size() <= 0) return;
  const std::string section = "halden/weather";
  set.SetProperty(section, std::string());
  weather->Initialize();
  int index = 0;
  while (auto obs = weather->GetNext()) {
    const std::string at = StartRecord(set, section, "obs", index++);
    const DateTime stamp = obs->TimeStamp();
    if (!stamp.IsUndefined()) set.SetProperty(at + "datetime", stamp.ToShortDate());
    set.SetProperty(at + "temperature", obs->Temperature());
    set.SetProperty(at + "humidity", obs->Humidity());
    set.SetProperty(at + "pressure", obs->Pressure());
    set.SetProperty(at + "cloud", obs->CloudConditions());
    set.SetProperty(at + "windspeed", obs->WindSpeed());
    set.SetProperty(at + "winddirection", obs->WindDirection());
  }
}

void WriteTraverse(IXmlPropertySet& set, ITraverse& traverse) {
  const DateTime traverseDate = traverse.TraverseDate();
  if (!traverseDate.IsUndefined()) set.SetProperty("idinfo/citation/citeinfo/pubdate", traverseDate.ToLongDate());
  set.SetProperty("idinfo/citation/serinfo/sername", traverse.Title());
  set.SetProperty("idinfo/citation/serinfo/issue", traverse.FieldBook());
  const std::string projection = traverse.Projection();
  const std::string datum = DatumName(traverse.HorizontalDatum(), traverse.HorizontalEpoch());
  set.SetProperty("spref/horizsys/planar/mapproj/mapprojn", projection);
  set.SetProperty("spref/horizsys/planar/gridsys/gridsysn", "State Plane Coordinate System " + datum);
  set.SetProperty("spref/horizsys/geodetic/horizdn", datum);
  set.SetProperty("spref/horizsys/planar/gridsys/spcs/spcszone", projection);
  set.SetProperty("spref/horizsys/planar/planci/plandu", traverse.Units());
}

}  // namespace

bool XMLFileExists(const std::filesystem::path& folder, const std::string& name) {
  return FileExists(folder / (name + ".xml"));
}

std::filesystem::path MetadataPathFor(const std::filesystem::path& surveyFile) {
  std::filesystem::path xml = surveyFile;
  xml += ".xml";
  return xml;
}

void SetMetadataValuesFromEM(IXmlPropertySet& propSet, ISurvey& survey) {
  try {
    WriteSurveyHeader(propSet, survey);
    WriteBenchmarks(propSet, survey.VerticalControls().get());
    WriteGages(propSet, survey.Gages().get());
    WriteEquipment(propSet, survey.Equipment().get());
    WriteCrew(propSet, survey.CrewMembers().get());
    WriteWeather(propSet, survey.Weather().get());
  } catch (const std::exception& failure) {
    ReportProcedureError(true, ProcedureWhere("SetMetadataValuesFromEM", kModule), failure, kReportToErrorWindow);
  }
}

void SetMetadataValuesFromTraverse(IXmlPropertySet& propSet, ITraverse& traverse) {
  try {
    WriteTraverse(propSet, traverse);
  } catch (const std::exception& failure) {
    ReportProcedureError(true, ProcedureWhere("SetMetadataValuesFromTraverse", kModule), failure,
                         kReportToErrorWindow);
  }
}

bool SetMetadataValuesFrom(IXmlPropertySet& propSet, IInterface& surveyOrTraverse) {
  if (auto* survey = dynamic_cast<ISurvey*>(&surveyOrTraverse)) {
    SetMetadataValuesFromEM(propSet, *survey);
    return true;
  }
  if (auto* traverse = dynamic_cast<ITraverse*>(&surveyOrTraverse)) {
    SetMetadataValuesFromTraverse(propSet, *traverse);
    return true;
  }
  return false;
}

}  // namespace veldrane
