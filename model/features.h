#pragma once
// The read interfaces of everything a survey holds. Members are declared in
// their fixed slot order. Numbers that were never given hold 0.0001, dates
// 12/31/2000, point ids 9999999 (model/constants.h).
#include <cstdint>
#include <memory>
#include <string>

#include "model/date_time.h"
#include "model/interface.h"
#include "model/iterators.h"
#include "model/survey_error.h"

namespace veldrane {

class ISurveyPoint;
class ICrossSection;
class IProfileCenterline;
class IMiscShotPoint;
class ISurveyArea;
class IAreaRing;
class IVerticalControl;
class IGage;
class ICrewMember;
class IEquipment;
class IWeather;
class ITraverse;
class ITraversePoint;

using ISurveyPointIterator = IItemIterator<ISurveyPoint>;
using ICrossSectionIterator = IItemIterator<ICrossSection>;
using IProfileCenterlineIterator = IItemIterator<IProfileCenterline>;
using IMiscShotPointIterator = IItemIterator<IMiscShotPoint>;
using ISurveyAreaIterator = IItemIterator<ISurveyArea>;
using IAreaRingIterator = IItemIterator<IAreaRing>;
using IVerticalControlIterator = IItemIterator<IVerticalControl>;  // GetItem is 1-based
using IGageIterator = IItemIterator<IGage>;                        // GetItem is 1-based
using ITraversePointIterator = IItemIterator<ITraversePoint>;
using ICrewMemberIterator = ISizeFirstIterator<ICrewMember>;
using IEquipmentIterator = ISizeFirstIterator<IEquipment>;
using IWeatherIterator = ISizeFirstIterator<IWeather>;

class ISurveyPoint : public IInterface {
 public:
  virtual double X() = 0;
  virtual double Y() = 0;
  virtual double Z() = 0;
  virtual std::string Code() = 0;
  virtual std::string CodeDescription() = 0;
  virtual std::int32_t Id() = 0;
  virtual double VerticalAdjustment() = 0;
  virtual double Station() = 0;
  virtual std::string PointTag() = 0;
  virtual double LateralOffset() = 0;
  virtual double BaselineOffset() = 0;
};

class IVerticalControl : public IInterface {
 public:
  virtual std::string Name() = 0;
  virtual double Northing() = 0;
  virtual double Easting() = 0;
  virtual double DocumentedElevation() = 0;
  virtual std::string VerticalDatum() = 0;
  virtual std::string Epoch() = 0;
  virtual std::string Condition() = 0;
  virtual double MeasuredElevation() = 0;
  virtual std::string PID() = 0;
  virtual std::string Description() = 0;
  virtual bool IsPermanent() = 0;
  virtual double Adjustment() = 0;
  virtual DateTime SurveyDate() = 0;
  virtual std::string FieldBook() = 0;
  virtual std::string PageNumber() = 0;
  virtual double LocalMeanSeaLevelRelationship() = 0;
  virtual double MeanLowerLowWaterRelationship() = 0;
  virtual std::string NationalTidalDatumEpoch() = 0;
};

class IGage : public IInterface {
 public:
  virtual double WaterSurfaceElevation() = 0;
  virtual std::string Name() = 0;
  virtual double Northing() = 0;
  virtual double Easting() = 0;
  virtual std::string Code() = 0;
  virtual DateTime MeasurementDate() = 0;
  virtual double LocalMeanSeaLevelReference() = 0;
  virtual double MeanLowerLowWaterReference() = 0;
  virtual std::string Description() = 0;
  virtual std::string FieldBook() = 0;
  virtual std::string PageNumber() = 0;
  virtual std::shared_ptr<IVerticalControl> Benchmark() = 0;
};

class ICrewMember : public IInterface {
 public:
  virtual std::string Name() = 0;
  virtual std::string Assignment() = 0;
};

class IEquipment : public IInterface {
 public:
  virtual std::string Instrument() = 0;
  virtual std::string SerialNumber() = 0;
  virtual std::string Model() = 0;
  virtual std::string Description() = 0;
};

class IWeather : public IInterface {
 public:
  virtual std::string Temperature() = 0;
  virtual std::string Pressure() = 0;
  virtual std::string Humidity() = 0;
  virtual std::string CloudConditions() = 0;
  virtual std::string WindSpeed() = 0;
  virtual std::string WindDirection() = 0;
  virtual DateTime TimeStamp() = 0;
  virtual std::string FieldBook() = 0;
  virtual std::string PageNumber() = 0;
};

class ICrossSection : public IInterface {
 public:
  virtual std::shared_ptr<ISurveyPointIterator> Points() = 0;
  virtual double StartX() = 0;
  virtual double StartY() = 0;
  virtual double StopX() = 0;
  virtual double StopY() = 0;
  virtual double Station() = 0;
  virtual std::string RangeName() = 0;
  virtual std::string AltName() = 0;
  virtual std::shared_ptr<IVerticalControl> Benchmark() = 0;
  virtual std::shared_ptr<IGage> Gage() = 0;
  virtual std::string FieldBook() = 0;
  virtual std::string PageNumber() = 0;
  virtual double WaterSurfaceElevation() = 0;
  virtual DateTime WaterSurfaceTime() = 0;
  virtual DateTime SurveyDate() = 0;
  virtual std::string Description() = 0;
  virtual double GridAzimuth() = 0;
  virtual double GeodeticAzimuth() = 0;
  virtual double BaselineIntersectX() = 0;
  virtual double BaselineIntersectY() = 0;
};

class IProfileCenterline : public IInterface {
 public:
  virtual std::shared_ptr<ISurveyPointIterator> Points() = 0;
  virtual double StartX() = 0;
  virtual double StartY() = 0;
  virtual double Station() = 0;
  virtual std::string AltName() = 0;
  virtual std::shared_ptr<IVerticalControl> Benchmark() = 0;
  virtual std::shared_ptr<IGage> Gage() = 0;
  virtual std::string FieldBook() = 0;
  virtual std::string PageNumber() = 0;
  virtual double WaterSurfaceElevation() = 0;
  virtual DateTime WaterSurfaceTime() = 0;
  virtual DateTime SurveyDate() = 0;
  virtual std::string Description() = 0;
};

class IMiscShotPoint : public IInterface {
 public:
  virtual std::shared_ptr<ISurveyPoint> Point() = 0;
  virtual std::string Description() = 0;
  virtual std::shared_ptr<IVerticalControl> Benchmark() = 0;
  virtual std::string FieldBook() = 0;
  virtual std::string PageNumber() = 0;
  virtual DateTime SurveyDate() = 0;
  virtual std::shared_ptr<IGage> Gage() = 0;
  virtual double WaterSurfaceElevation() = 0;
  virtual DateTime WaterSurfaceTime() = 0;
};

class IAreaRing : public IInterface {
 public:
  virtual std::shared_ptr<ISurveyPointIterator> SurveyPoints() = 0;
  virtual std::shared_ptr<IAreaRingIterator> InternalRings() = 0;
};

class ISurveyArea : public IInterface {
 public:
  virtual std::shared_ptr<IAreaRing> AreaRing() = 0;
  virtual std::string AltName() = 0;
  virtual std::shared_ptr<IVerticalControl> Benchmark() = 0;
  virtual std::string FieldBook() = 0;
  virtual std::string PageNumber() = 0;
  virtual DateTime SurveyDate() = 0;
  virtual std::string Description() = 0;
  virtual std::shared_ptr<IGage> Gage() = 0;
  virtual double WaterSurfaceElevation() = 0;
  virtual DateTime WaterSurfaceTime() = 0;
};

class ITraversePoint : public IInterface {
 public:
  virtual std::int32_t TraversePointId() = 0;
  virtual double AdjustedAngle() = 0;
  virtual double AdjustedDistance() = 0;
  virtual double BackGeodeticAzimuth() = 0;
  virtual double ScaleFactor() = 0;
  virtual double Convergence() = 0;
  virtual double Latitude() = 0;
  virtual double Longitude() = 0;
  virtual double Northing() = 0;
  virtual double Easting() = 0;
  virtual double Station() = 0;
  virtual std::string StationName() = 0;
  virtual std::string AltName() = 0;
  virtual double MeasuredAngle() = 0;
  virtual double MeasuredDistance() = 0;
  virtual double ForwardGeodeticAzimuth() = 0;
  virtual double PlaneDistance() = 0;
  virtual double PlaneAzimuth() = 0;
};

class ITraverse : public IInterface {
 public:
  virtual std::string JobNumber() = 0;
  virtual std::string OriginalFileName() = 0;
  virtual std::string HorizontalDatum() = 0;
  virtual std::string HorizontalEpoch() = 0;
  virtual double HorizontalAccuracy() = 0;
  virtual std::string HorizontalAccuracyClass() = 0;
  virtual DateTime TraverseDate() = 0;
  virtual std::string FieldBook() = 0;
  virtual std::string PageNumber() = 0;
  virtual std::string Title() = 0;
  virtual std::string Projection() = 0;
  virtual std::string Units() = 0;
  virtual std::shared_ptr<ITraversePointIterator> TraversePoints() = 0;
  virtual std::shared_ptr<ISurveyErrorQueue> Errors() = 0;
  virtual std::string Comments() = 0;
};

class ISurvey : public IInterface {
 public:
  virtual std::string JobNumber() = 0;                                          // 0
  virtual std::string Title() = 0;                                              // 1
  virtual std::string Comments() = 0;                                           // 2
  virtual std::string OriginalFileName() = 0;                                   // 3
  virtual std::string Contractor() = 0;                                         // 4
  virtual std::string HorizontalDatum() = 0;                                    // 5
  virtual std::string VerticalDatum() = 0;                                      // 6
  virtual std::string Epoch() = 0;                                              // 7
  virtual std::string Location() = 0;                                           // 8
  virtual std::string SurveyOrder() = 0;                                        // 9
  virtual std::shared_ptr<ICrossSectionIterator> CrossSections() = 0;           // 10
  virtual std::shared_ptr<IProfileCenterlineIterator> ProfileCenterlines() = 0; // 11
  virtual DateTime SurveyDate() = 0;                                            // 12
  virtual DateTime SurveyStartDate() = 0;                                       // 13
  virtual DateTime SurveyEndDate() = 0;                                         // 14
  virtual std::shared_ptr<IMiscShotPointIterator> MiscShotPoints() = 0;         // 15
  virtual std::shared_ptr<ISurveyAreaIterator> Areas() = 0;                     // 16
  virtual std::string Units() = 0;                                              // 17
  virtual std::string Projection() = 0;                                         // 18
  virtual std::shared_ptr<IVerticalControlIterator> VerticalControls() = 0;     // 19
  virtual std::shared_ptr<IGageIterator> Gages() = 0;                           // 20
  virtual std::shared_ptr<ISurveyErrorQueue> Errors() = 0;                      // 21
  virtual std::string FieldBook() = 0;                                          // 22
  virtual std::string PageNumber() = 0;                                         // 23
  virtual std::shared_ptr<ICrewMemberIterator> CrewMembers() = 0;               // 24
  virtual std::shared_ptr<IEquipmentIterator> Equipment() = 0;                  // 25
  virtual std::shared_ptr<IWeatherIterator> Weather() = 0;                      // 26
  virtual std::shared_ptr<ITraverse> Baseline() = 0;                            // 27
  virtual std::string BaselineFileName() = 0;                                   // 28
  virtual double CombinedScaleFactor() = 0;                                     // 29
  virtual std::string version() = 0;                                            // 30
  virtual std::string HorizontalEpoch() = 0;                                    // 31
  virtual std::string HorizontalAccuracyClass() = 0;                            // 32
  virtual double VerticalAccuracy() = 0;                                        // 33
  virtual std::string ParishName() = 0;                                         // 34
  virtual std::string ContractNumber() = 0;                                     // 35
  virtual double HorizontalAccuracy() = 0;                                      // 36
  virtual std::string VerticalAccuracyClass() = 0;                              // 37
  virtual std::string QuadName() = 0;                                           // 38
  virtual std::string GetCustomCode(const std::string& code) = 0;               // 39
  virtual bool HasCustomCode(const std::string& code) = 0;                      // 40
};

}  // namespace veldrane
