#pragma once
// Minimal model objects for the geometry tests and benchmarks: a traverse of
// stationed points, a profile centerline and a cross section, holding only
// the values the geometry reads.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/constants.h"
#include "model/features.h"

namespace veldrane::test {

class FakeTraversePoint : public ITraversePoint {
 public:
  FakeTraversePoint(double easting, double northing, double station)
      : easting_(easting), northing_(northing), station_(station) {}
  std::int32_t TraversePointId() override { return kUndefinedPointId; }
  double AdjustedAngle() override { return kUndefinedNumber; }
  double AdjustedDistance() override { return kUndefinedNumber; }
  double BackGeodeticAzimuth() override { return kUndefinedNumber; }
  double ScaleFactor() override { return kUndefinedNumber; }
  double Convergence() override { return kUndefinedNumber; }
  double Latitude() override { return kUndefinedNumber; }
  double Longitude() override { return kUndefinedNumber; }
  double Northing() override { return northing_; }
  double Easting() override { return easting_; }
  double Station() override { return station_; }
  std::string StationName() override { return {}; }
  std::string AltName() override { return {}; }
  double MeasuredAngle() override { return kUndefinedNumber; }
  double MeasuredDistance() override { return kUndefinedNumber; }
  double ForwardGeodeticAzimuth() override { return kUndefinedNumber; }
  double PlaneDistance() override { return kUndefinedNumber; }
  double PlaneAzimuth() override { return kUndefinedNumber; }

 private:
  double easting_;
  double northing_;
  double station_;
};

class FakeTraverse : public ITraverse {
 public:
  explicit FakeTraverse(std::vector<std::shared_ptr<ITraversePoint>> points) : points_(std::move(points)) {}
  std::string JobNumber() override { return {}; }
  std::string OriginalFileName() override { return {}; }
  std::string HorizontalDatum() override { return {}; }
  std::string HorizontalEpoch() override { return {}; }
  double HorizontalAccuracy() override { return kUndefinedNumber; }
  std::string HorizontalAccuracyClass() override { return {}; }
  DateTime TraverseDate() override { return DateTime::Undefined(); }
  std::string FieldBook() override { return {}; }
  std::string PageNumber() override { return {}; }
  std::string Title() override { return {}; }
  std::string Projection() override { return {}; }
  std::string Units() override { return {}; }
  std::shared_ptr<ITraversePointIterator> TraversePoints() override {
    return std::make_shared<ListIterator<ITraversePointIterator, ITraversePoint>>(points_);
  }
  std::shared_ptr<ISurveyErrorQueue> Errors() override { return std::make_shared<GenericSurveyErrorQueue>(); }
  std::string Comments() override { return {}; }

 private:
  std::vector<std::shared_ptr<ITraversePoint>> points_;
};

class FakeSurveyPoint : public ISurveyPoint {
 public:
  FakeSurveyPoint(double x, double y) : x_(x), y_(y) {}
  double X() override { return x_; }
  double Y() override { return y_; }
  double Z() override { return kUndefinedNumber; }
  std::string Code() override { return {}; }
  std::string CodeDescription() override { return {}; }
  std::int32_t Id() override { return kUndefinedPointId; }
  double VerticalAdjustment() override { return kUndefinedNumber; }
  double Station() override { return kUndefinedNumber; }
  std::string PointTag() override { return {}; }
  double LateralOffset() override { return kUndefinedNumber; }
  double BaselineOffset() override { return kUndefinedNumber; }

 private:
  double x_;
  double y_;
};

class FakeProfile : public IProfileCenterline {
 public:
  FakeProfile(double station, std::vector<std::shared_ptr<ISurveyPoint>> points)
      : station_(station), points_(std::move(points)) {}
  std::shared_ptr<ISurveyPointIterator> Points() override {
    return std::make_shared<ListIterator<ISurveyPointIterator, ISurveyPoint>>(points_);
  }
  double StartX() override { return points_.empty() ? kUndefinedNumber : points_.front()->X(); }
  double StartY() override { return points_.empty() ? kUndefinedNumber : points_.front()->Y(); }
  double Station() override { return station_; }
  std::string AltName() override { return {}; }
  std::shared_ptr<IVerticalControl> Benchmark() override { return nullptr; }
  std::shared_ptr<IGage> Gage() override { return nullptr; }
  std::string FieldBook() override { return {}; }
  std::string PageNumber() override { return {}; }
  double WaterSurfaceElevation() override { return kUndefinedNumber; }
  DateTime WaterSurfaceTime() override { return DateTime::Undefined(); }
  DateTime SurveyDate() override { return DateTime::Undefined(); }
  std::string Description() override { return {}; }

 private:
  double station_;
  std::vector<std::shared_ptr<ISurveyPoint>> points_;
};

class FakeCrossSection : public ICrossSection {
 public:
  FakeCrossSection(double startX, double startY, double stopX, double stopY)
      : startX_(startX), startY_(startY), stopX_(stopX), stopY_(stopY) {}
  std::shared_ptr<ISurveyPointIterator> Points() override {
    return std::make_shared<ListIterator<ISurveyPointIterator, ISurveyPoint>>();
  }
  double StartX() override { return startX_; }
  double StartY() override { return startY_; }
  double StopX() override { return stopX_; }
  double StopY() override { return stopY_; }
  double Station() override { return kUndefinedNumber; }
  std::string RangeName() override { return {}; }
  std::string AltName() override { return {}; }
  std::shared_ptr<IVerticalControl> Benchmark() override { return nullptr; }
  std::shared_ptr<IGage> Gage() override { return nullptr; }
  std::string FieldBook() override { return {}; }
  std::string PageNumber() override { return {}; }
  double WaterSurfaceElevation() override { return kUndefinedNumber; }
  DateTime WaterSurfaceTime() override { return DateTime::Undefined(); }
  DateTime SurveyDate() override { return DateTime::Undefined(); }
  std::string Description() override { return {}; }
  double GridAzimuth() override { return kUndefinedNumber; }
  double GeodeticAzimuth() override { return kUndefinedNumber; }
  double BaselineIntersectX() override { return kUndefinedNumber; }
  double BaselineIntersectY() override { return kUndefinedNumber; }

 private:
  double startX_;
  double startY_;
  double stopX_;
  double stopY_;
};

struct StationedPoint {
  double easting;
  double northing;
  double station;
};

struct XY {
  double x;
  double y;
};

inline std::shared_ptr<ITraverse> MakeTraverse(const std::vector<StationedPoint>& points) {
  std::vector<std::shared_ptr<ITraversePoint>> items;
  items.reserve(points.size());
  for (const auto& p : points) items.push_back(std::make_shared<FakeTraversePoint>(p.easting, p.northing, p.station));
  return std::make_shared<FakeTraverse>(std::move(items));
}

// A baseline of unstationed points (station 0): what the offsets read.
inline std::shared_ptr<ITraverse> MakeBaseline(const std::vector<XY>& points) {
  std::vector<StationedPoint> stationed;
  stationed.reserve(points.size());
  for (const auto& p : points) stationed.push_back({p.x, p.y, 0.0});
  return MakeTraverse(stationed);
}

inline std::shared_ptr<IProfileCenterline> MakeProfile(double station, const std::vector<XY>& points) {
  std::vector<std::shared_ptr<ISurveyPoint>> items;
  items.reserve(points.size());
  for (const auto& p : points) items.push_back(std::make_shared<FakeSurveyPoint>(p.x, p.y));
  return std::make_shared<FakeProfile>(station, std::move(items));
}

inline std::shared_ptr<ICrossSection> MakeRangeLine(double startX, double startY, double stopX, double stopY) {
  return std::make_shared<FakeCrossSection>(startX, startY, stopX, stopY);
}

}  // namespace veldrane::test
