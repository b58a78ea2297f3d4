#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "model/notifier.h"
#include "model/survey_error.h"
#include "readers/survey_factory.h"

namespace veldrane::fuzz {
namespace {

// Keeps the optimiser from dropping reads whose results are unused.
volatile std::size_t g_sink = 0;

void Use(const std::string& s) { g_sink = g_sink + s.size(); }
void Use(double d) { g_sink = g_sink + static_cast<std::size_t>(d == d); }
void Use(std::int32_t i) { g_sink = g_sink + static_cast<std::size_t>(i & 1); }
void Use(bool b) { g_sink = g_sink + (b ? 1u : 0u); }
// Printing a date runs the calendar conversion over whatever value a reader produced.
void Use(const DateTime& d) { Use(d.ToIso()); }

class SilentNotifier : public INotifier {
 public:
  void Notify(NoticeKind, const std::string& title, const std::string& text) override { Use(title + text); }
};

// Walks a 0- or 1-based item iterator both ways: by GetNext and by GetItem
// over the whole index range plus, when `indexed`, one past each end (the
// PRO reader's profile iterator ignores the index by design and always
// answers its one profile).
template <class Iterator, class Visit>
void WalkIterator(const std::shared_ptr<Iterator>& it, int indexBase, Visit visit, bool indexed = true) {
  if (!it) return;
  const std::int32_t size = it->Size();
  it->Initialize();
  std::int32_t count = 0;
  while (auto item = it->GetNext()) {
    visit(*item);
    if (++count > size) throw std::logic_error("iterator yields more items than its Size");
  }
  if (count != size) throw std::logic_error("iterator yields fewer items than its Size");
  if (indexed && (it->GetItem(indexBase - 1) || it->GetItem(indexBase + size))) {
    throw std::logic_error("iterator returns an item outside its range");
  }
  for (std::int32_t i = 0; i < size; ++i) {
    if (!it->GetItem(indexBase + i)) throw std::logic_error("iterator misses an item inside its range");
  }
}

void WalkPoint(ISurveyPoint& p) {
  Use(p.X()), Use(p.Y()), Use(p.Z()), Use(p.Code()), Use(p.CodeDescription()), Use(p.Id());
  Use(p.VerticalAdjustment()), Use(p.Station()), Use(p.PointTag()), Use(p.LateralOffset());
  Use(p.BaselineOffset());
}

void WalkBenchmark(IVerticalControl& b) {
  Use(b.Name()), Use(b.Northing()), Use(b.Easting()), Use(b.DocumentedElevation()), Use(b.VerticalDatum());
  Use(b.Epoch()), Use(b.Condition()), Use(b.MeasuredElevation()), Use(b.PID()), Use(b.Description());
  Use(b.IsPermanent()), Use(b.Adjustment()), Use(b.SurveyDate()), Use(b.FieldBook()), Use(b.PageNumber());
  Use(b.LocalMeanSeaLevelRelationship()), Use(b.MeanLowerLowWaterRelationship());
  Use(b.NationalTidalDatumEpoch());
}

void WalkGage(IGage& g) {
  Use(g.WaterSurfaceElevation()), Use(g.Name()), Use(g.Northing()), Use(g.Easting()), Use(g.Code());
  Use(g.MeasurementDate()), Use(g.LocalMeanSeaLevelReference()), Use(g.MeanLowerLowWaterReference());
  Use(g.Description()), Use(g.FieldBook()), Use(g.PageNumber());
  if (auto b = g.Benchmark()) WalkBenchmark(*b);
}

template <class Feature>
void WalkLinks(Feature& f) {
  if (auto b = f.Benchmark()) WalkBenchmark(*b);
  if (auto g = f.Gage()) WalkGage(*g);
}

void WalkCrossSection(ICrossSection& s) {
  WalkIterator(s.Points(), 0, WalkPoint);
  Use(s.StartX()), Use(s.StartY()), Use(s.StopX()), Use(s.StopY()), Use(s.Station()), Use(s.RangeName());
  Use(s.AltName()), Use(s.FieldBook()), Use(s.PageNumber()), Use(s.WaterSurfaceElevation());
  Use(s.WaterSurfaceTime()), Use(s.SurveyDate()), Use(s.Description()), Use(s.GridAzimuth());
  Use(s.GeodeticAzimuth()), Use(s.BaselineIntersectX()), Use(s.BaselineIntersectY());
  WalkLinks(s);
}

void WalkProfile(IProfileCenterline& p) {
  WalkIterator(p.Points(), 0, WalkPoint);
  Use(p.StartX()), Use(p.StartY()), Use(p.Station()), Use(p.AltName()), Use(p.FieldBook());
  Use(p.PageNumber()), Use(p.WaterSurfaceElevation()), Use(p.WaterSurfaceTime()), Use(p.SurveyDate());
  Use(p.Description());
  WalkLinks(p);
}

void WalkShot(IMiscShotPoint& m) {
  if (auto p = m.Point()) WalkPoint(*p);
  Use(m.Description()), Use(m.FieldBook()), Use(m.PageNumber()), Use(m.SurveyDate());
  Use(m.WaterSurfaceElevation()), Use(m.WaterSurfaceTime());
  WalkLinks(m);
}

void WalkRing(IAreaRing& r, int depth) {
  // Rings nest one level (holes of an outer ring); a deeper chain would be
  // a cycle, which must not exist.
  if (depth > 2) throw std::logic_error("area rings nest deeper than holes");
  WalkIterator(r.SurveyPoints(), 0, WalkPoint);
  WalkIterator(r.InternalRings(), 0, [depth](IAreaRing& hole) { WalkRing(hole, depth + 1); });
}

void WalkArea(ISurveyArea& a) {
  if (auto r = a.AreaRing()) WalkRing(*r, 0);
  Use(a.AltName()), Use(a.FieldBook()), Use(a.PageNumber()), Use(a.SurveyDate()), Use(a.Description());
  Use(a.WaterSurfaceElevation()), Use(a.WaterSurfaceTime());
  WalkLinks(a);
}

void WalkTraversePoint(ITraversePoint& p) {
  Use(p.TraversePointId()), Use(p.AdjustedAngle()), Use(p.AdjustedDistance()), Use(p.BackGeodeticAzimuth());
  Use(p.ScaleFactor()), Use(p.Convergence()), Use(p.Latitude()), Use(p.Longitude()), Use(p.Northing());
  Use(p.Easting()), Use(p.Station()), Use(p.StationName()), Use(p.AltName()), Use(p.MeasuredAngle());
  Use(p.MeasuredDistance()), Use(p.ForwardGeodeticAzimuth()), Use(p.PlaneDistance()), Use(p.PlaneAzimuth());
}

}  // namespace

const std::string& ScratchFolder() {
  static const std::string folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "veldrane-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make the fuzz scratch folder");
    return pattern;
  }();
  return folder;
}

std::string WriteScratchFile(const std::string& name, const std::uint8_t* data, std::size_t size) {
  const std::string path = (std::filesystem::path(ScratchFolder()) / name).string();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.close();
  if (!out) throw std::runtime_error("cannot write the fuzz input file");
  return path;
}

void SilenceNotifier() {
  static SilentNotifier notifier;
  SetNotifier(&notifier);
}

void DrainErrors(ISurveyErrorQueue* queue) {
  if (!queue) return;
  while (!queue->IsEmpty()) {
    auto error = queue->Pop();
    if (!error) throw std::logic_error("error queue holds a null record");
    Use(error->Filename()), Use(error->Description()), Use(error->ToString());
    Use(error->LineNumber()), Use(error->severity());
  }
}

void WalkTraverse(ITraverse& t) {
  Use(t.JobNumber()), Use(t.OriginalFileName()), Use(t.HorizontalDatum()), Use(t.HorizontalEpoch());
  Use(t.HorizontalAccuracy()), Use(t.HorizontalAccuracyClass()), Use(t.TraverseDate()), Use(t.FieldBook());
  Use(t.PageNumber()), Use(t.Title()), Use(t.Projection()), Use(t.Units()), Use(t.Comments());
  WalkIterator(t.TraversePoints(), 0, WalkTraversePoint);
}

void WalkSurvey(ISurvey& s) {
  Use(s.JobNumber()), Use(s.Title()), Use(s.Comments()), Use(s.OriginalFileName()), Use(s.Contractor());
  Use(s.HorizontalDatum()), Use(s.VerticalDatum()), Use(s.Epoch()), Use(s.Location()), Use(s.SurveyOrder());
  WalkIterator(s.CrossSections(), 0, WalkCrossSection);
  WalkIterator(s.ProfileCenterlines(), 0, WalkProfile, /*indexed=*/false);
  Use(s.SurveyDate()), Use(s.SurveyStartDate()), Use(s.SurveyEndDate());
  WalkIterator(s.MiscShotPoints(), 0, WalkShot);
  WalkIterator(s.Areas(), 0, WalkArea);
  Use(s.Units()), Use(s.Projection());
  WalkIterator(s.VerticalControls(), 1, WalkBenchmark);
  WalkIterator(s.Gages(), 1, WalkGage);
  Use(s.FieldBook()), Use(s.PageNumber());
  WalkIterator(s.CrewMembers(), 0, [](ICrewMember& m) { Use(m.Name()), Use(m.Assignment()); });
  WalkIterator(s.Equipment(), 0, [](IEquipment& e) {
    Use(e.Instrument()), Use(e.SerialNumber()), Use(e.Model()), Use(e.Description());
  });
  WalkIterator(s.Weather(), 0, [](IWeather& w) {
    Use(w.Temperature()), Use(w.Pressure()), Use(w.Humidity()), Use(w.CloudConditions()), Use(w.WindSpeed());
    Use(w.WindDirection()), Use(w.TimeStamp()), Use(w.FieldBook()), Use(w.PageNumber());
  });
  if (auto baseline = s.Baseline()) {
    WalkTraverse(*baseline);
    DrainErrors(baseline->Errors().get());
  }
  Use(s.BaselineFileName()), Use(s.CombinedScaleFactor()), Use(s.version()), Use(s.HorizontalEpoch());
  Use(s.HorizontalAccuracyClass()), Use(s.VerticalAccuracy()), Use(s.ParishName()), Use(s.ContractNumber());
  Use(s.HorizontalAccuracy()), Use(s.VerticalAccuracyClass()), Use(s.QuadName());
  Use(s.GetCustomCode("TOE")), Use(s.HasCustomCode("TOE"));
}

void OpenAndWalk(const std::string& path) {
  std::shared_ptr<IInterface> object;
  try {
    object = OpenSurveyFile(path);
  } catch (const RaisedError&) {
    return;  // a fatal record: the documented way a reader gives up
  }
  if (!object) throw std::logic_error("the survey factory returned nothing");
  if (auto survey = std::dynamic_pointer_cast<ISurvey>(object)) {
    WalkSurvey(*survey);
    DrainErrors(survey->Errors().get());
  } else if (auto traverse = std::dynamic_pointer_cast<ITraverse>(object)) {
    WalkTraverse(*traverse);
    DrainErrors(traverse->Errors().get());
  } else {
    throw std::logic_error("the survey factory returned neither a survey nor a traverse");
  }
}

}  // namespace veldrane::fuzz
