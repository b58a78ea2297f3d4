#pragma once
// A survey object model built in memory by the tests: every value is a
// public field, every collection a vector, so a test states exactly what the
// data source is given.
#include <memory>
#include <string>
#include <vector>

#include "model/constants.h"
#include "model/date_time.h"
#include "model/features.h"
#include "model/iterators.h"

namespace veldrane::test {

template <class T>
using Items = std::vector<std::shared_ptr<T>>;

template <class T, class Iterator = IItemIterator<T>>
std::shared_ptr<Iterator> IteratorOver(const Items<T>& items) {
  return std::make_shared<ListIterator<Iterator, T>>(items);
}

struct FakePoint : ISurveyPoint {
  double x = kUndefinedNumber, y = kUndefinedNumber, z = kUndefinedNumber;
  std::string code, codeDescription, tag;
  std::int32_t id = kUndefinedPointId;
  double verticalAdjustment = 0, station = kUndefinedNumber, lateralOffset = 0, baselineOffset = kUndefinedNumber;

  double X() override { return x; }
  double Y() override { return y; }
  double Z() override { return z; }
  std::string Code() override { return code; }
  std::string CodeDescription() override { return codeDescription; }
  std::int32_t Id() override { return id; }
  double VerticalAdjustment() override { return verticalAdjustment; }
  double Station() override { return station; }
  std::string PointTag() override { return tag; }
  double LateralOffset() override { return lateralOffset; }
  double BaselineOffset() override { return baselineOffset; }
};

inline std::shared_ptr<FakePoint> MakePoint(double x, double y, double z, double station = kUndefinedNumber,
                                            std::int32_t id = 1) {
  auto p = std::make_shared<FakePoint>();
  p->x = x;
  p->y = y;
  p->z = z;
  p->station = station;
  p->id = id;
  p->tag = std::to_string(id);
  return p;
}

struct FakeBenchmark : IVerticalControl {
  std::string name, verticalDatum, epoch, condition, pid, description, fieldBook, pageNumber, tidalEpoch;
  double northing = kUndefinedNumber, easting = kUndefinedNumber, documented = kUndefinedNumber,
         measured = kUndefinedNumber, adjustment = 0, lmsl = kUndefinedNumber, mllw = kUndefinedNumber;
  bool permanent = false;

  std::string Name() override { return name; }
  double Northing() override { return northing; }
  double Easting() override { return easting; }
  double DocumentedElevation() override { return documented; }
  std::string VerticalDatum() override { return verticalDatum; }
  std::string Epoch() override { return epoch; }
  std::string Condition() override { return condition; }
  double MeasuredElevation() override { return measured; }
  std::string PID() override { return pid; }
  std::string Description() override { return description; }
  bool IsPermanent() override { return permanent; }
  double Adjustment() override { return adjustment; }
  DateTime SurveyDate() override { return DateTime::Undefined(); }
  std::string FieldBook() override { return fieldBook; }
  std::string PageNumber() override { return pageNumber; }
  double LocalMeanSeaLevelRelationship() override { return lmsl; }
  double MeanLowerLowWaterRelationship() override { return mllw; }
  std::string NationalTidalDatumEpoch() override { return tidalEpoch; }
};

struct FakeGage : IGage {
  double waterSurfaceElevation = kUndefinedNumber, northing = kUndefinedNumber, easting = kUndefinedNumber,
         lmsl = kUndefinedNumber, mllw = kUndefinedNumber;
  std::string name, code, description, fieldBook, pageNumber;

  double WaterSurfaceElevation() override { return waterSurfaceElevation; }
  std::string Name() override { return name; }
  double Northing() override { return northing; }
  double Easting() override { return easting; }
  std::string Code() override { return code; }
  DateTime MeasurementDate() override { return DateTime::Undefined(); }
  double LocalMeanSeaLevelReference() override { return lmsl; }
  double MeanLowerLowWaterReference() override { return mllw; }
  std::string Description() override { return description; }
  std::string FieldBook() override { return fieldBook; }
  std::string PageNumber() override { return pageNumber; }
  std::shared_ptr<IVerticalControl> Benchmark() override { return nullptr; }
};

// The values every feature kind (cross section, profile, shot point, area)
// shares, answering the members of the same names.
template <class Interface>
struct FakeFeature : Interface {
  std::string fieldBook, pageNumber, description;
  std::shared_ptr<IVerticalControl> benchmark;
  std::shared_ptr<IGage> gage;
  double waterSurfaceElevation = kUndefinedNumber;
  DateTime surveyDate = DateTime::Undefined();

  std::shared_ptr<IVerticalControl> Benchmark() override { return benchmark; }
  std::shared_ptr<IGage> Gage() override { return gage; }
  std::string FieldBook() override { return fieldBook; }
  std::string PageNumber() override { return pageNumber; }
  double WaterSurfaceElevation() override { return waterSurfaceElevation; }
  DateTime WaterSurfaceTime() override { return DateTime::Undefined(); }
  DateTime SurveyDate() override { return surveyDate; }
  std::string Description() override { return description; }
};

struct FakeCrossSection : FakeFeature<ICrossSection> {
  Items<ISurveyPoint> points;
  double startX = 0, startY = 0, stopX = 0, stopY = 0, station = 0;
  std::string altName, rangeName;
  double gridAzimuth = kUndefinedNumber, baselineX = kUndefinedNumber, baselineY = kUndefinedNumber;
  int pointsRequests = 0;

  std::shared_ptr<ISurveyPointIterator> Points() override {
    ++pointsRequests;
    return IteratorOver(points);
  }
  double StartX() override { return startX; }
  double StartY() override { return startY; }
  double StopX() override { return stopX; }
  double StopY() override { return stopY; }
  double Station() override { return station; }
  std::string RangeName() override { return rangeName; }
  std::string AltName() override { return altName; }
  double GridAzimuth() override { return gridAzimuth; }
  double GeodeticAzimuth() override { return kUndefinedNumber; }
  double BaselineIntersectX() override { return baselineX; }
  double BaselineIntersectY() override { return baselineY; }
};

struct FakeProfile : FakeFeature<IProfileCenterline> {
  Items<ISurveyPoint> points;
  double station = kUndefinedNumber;

  std::shared_ptr<ISurveyPointIterator> Points() override { return IteratorOver(points); }
  double StartX() override { return kUndefinedNumber; }
  double StartY() override { return kUndefinedNumber; }
  double Station() override { return station; }
  std::string AltName() override { return {}; }
};

struct FakeShot : FakeFeature<IMiscShotPoint> {
  std::shared_ptr<ISurveyPoint> point;

  std::shared_ptr<ISurveyPoint> Point() override { return point; }
};

struct FakeRing : IAreaRing {
  Items<ISurveyPoint> points;
  Items<IAreaRing> inner;

  std::shared_ptr<ISurveyPointIterator> SurveyPoints() override { return IteratorOver(points); }
  std::shared_ptr<IAreaRingIterator> InternalRings() override { return IteratorOver(inner); }
};

struct FakeArea : FakeFeature<ISurveyArea> {
  std::shared_ptr<FakeRing> ring = std::make_shared<FakeRing>();

  std::shared_ptr<IAreaRing> AreaRing() override { return ring; }
  std::string AltName() override { return {}; }
};

struct FakeSurvey : ISurvey {
  Items<ICrossSection> crossSections;
  Items<IProfileCenterline> profiles;
  Items<IMiscShotPoint> shots;
  Items<ISurveyArea> areas;
  Items<IVerticalControl> benchmarks;
  Items<IGage> gages;
  Items<ICrewMember> crew;
  Items<IEquipment> equipment;
  Items<IWeather> weather;
  std::string projection = "1702", datum = "NAD83", epoch = "", units = "FEET";
  double horizontalAccuracy = kUndefinedNumber;
  std::shared_ptr<GenericSurveyErrorQueue> errors = std::make_shared<GenericSurveyErrorQueue>();

  std::string JobNumber() override { return {}; }
  std::string Title() override { return {}; }
  std::string Comments() override { return {}; }
  std::string OriginalFileName() override { return {}; }
  std::string Contractor() override { return {}; }
  std::string HorizontalDatum() override { return datum; }
  std::string VerticalDatum() override { return {}; }
  std::string Epoch() override { return {}; }
  std::string Location() override { return {}; }
  std::string SurveyOrder() override { return {}; }
  std::shared_ptr<ICrossSectionIterator> CrossSections() override { return IteratorOver(crossSections); }
  std::shared_ptr<IProfileCenterlineIterator> ProfileCenterlines() override { return IteratorOver(profiles); }
  DateTime SurveyDate() override { return DateTime::Undefined(); }
  DateTime SurveyStartDate() override { return DateTime::Undefined(); }
  DateTime SurveyEndDate() override { return DateTime::Undefined(); }
  std::shared_ptr<IMiscShotPointIterator> MiscShotPoints() override { return IteratorOver(shots); }
  std::shared_ptr<ISurveyAreaIterator> Areas() override { return IteratorOver(areas); }
  std::string Units() override { return units; }
  std::string Projection() override { return projection; }
  std::shared_ptr<IVerticalControlIterator> VerticalControls() override {
    return std::make_shared<ListIterator<IVerticalControlIterator, IVerticalControl, 1>>(benchmarks);
  }
  std::shared_ptr<IGageIterator> Gages() override {
    return std::make_shared<ListIterator<IGageIterator, IGage, 1>>(gages);
  }
  std::shared_ptr<ISurveyErrorQueue> Errors() override { return errors; }
  std::string FieldBook() override { return {}; }
  std::string PageNumber() override { return {}; }
  std::shared_ptr<ICrewMemberIterator> CrewMembers() override {
    return IteratorOver<ICrewMember, ICrewMemberIterator>(crew);
  }
  std::shared_ptr<IEquipmentIterator> Equipment() override {
    return IteratorOver<IEquipment, IEquipmentIterator>(equipment);
  }
  std::shared_ptr<IWeatherIterator> Weather() override { return IteratorOver<IWeather, IWeatherIterator>(weather); }
  std::shared_ptr<ITraverse> Baseline() override { return nullptr; }
  std::string BaselineFileName() override { return {}; }
  double CombinedScaleFactor() override { return 0; }
  std::string version() override { return "EM06"; }
  std::string HorizontalEpoch() override { return epoch; }
  std::string HorizontalAccuracyClass() override { return {}; }
  double VerticalAccuracy() override { return kUndefinedNumber; }
  std::string ParishName() override { return {}; }
  std::string ContractNumber() override { return {}; }
  double HorizontalAccuracy() override { return horizontalAccuracy; }
  std::string VerticalAccuracyClass() override { return {}; }
  std::string QuadName() override { return {}; }
  std::string GetCustomCode(const std::string&) override { return {}; }
  bool HasCustomCode(const std::string&) override { return false; }
};

struct FakeTraversePoint : ITraversePoint {
  std::string stationName, altName;
  double easting = 0, northing = 0, station = kUndefinedNumber, latitude = kUndefinedNumber,
         longitude = kUndefinedNumber, other = kUndefinedNumber;

  std::int32_t TraversePointId() override { return 1; }
  double AdjustedAngle() override { return other; }
  double AdjustedDistance() override { return other; }
  double BackGeodeticAzimuth() override { return other; }
  double ScaleFactor() override { return other; }
  double Convergence() override { return other; }
  double Latitude() override { return latitude; }
  double Longitude() override { return longitude; }
  double Northing() override { return northing; }
  double Easting() override { return easting; }
  double Station() override { return station; }
  std::string StationName() override { return stationName; }
  std::string AltName() override { return altName; }
  double MeasuredAngle() override { return other; }
  double MeasuredDistance() override { return other; }
  double ForwardGeodeticAzimuth() override { return other; }
  double PlaneDistance() override { return other; }
  double PlaneAzimuth() override { return other; }
};

inline std::shared_ptr<FakeTraversePoint> MakeTraversePoint(double easting, double northing,
                                                            double station = kUndefinedNumber) {
  auto p = std::make_shared<FakeTraversePoint>();
  p->easting = easting;
  p->northing = northing;
  p->station = station;
  return p;
}

struct FakeTraverse : ITraverse {
  Items<ITraversePoint> points;
  std::string jobNumber = "J-1", fileName = "t.27", datum = "NAD83", projection = "1702", title = "Levee", epoch,
              units = "Feet", fieldBook;
  DateTime date = DateTime::Undefined();
  std::shared_ptr<GenericSurveyErrorQueue> errors = std::make_shared<GenericSurveyErrorQueue>();

  std::string JobNumber() override { return jobNumber; }
  std::string OriginalFileName() override { return fileName; }
  std::string HorizontalDatum() override { return datum; }
  std::string HorizontalEpoch() override { return epoch; }
  double HorizontalAccuracy() override { return kUndefinedNumber; }
  std::string HorizontalAccuracyClass() override { return {}; }
  DateTime TraverseDate() override { return date; }
  std::string FieldBook() override { return fieldBook; }
  std::string PageNumber() override { return {}; }
  std::string Title() override { return title; }
  std::string Projection() override { return projection; }
  std::string Units() override { return units; }
  std::shared_ptr<ITraversePointIterator> TraversePoints() override { return IteratorOver(points); }
  std::shared_ptr<ISurveyErrorQueue> Errors() override { return errors; }
  std::string Comments() override { return {}; }
};

}  // namespace veldrane::test
