#pragma once
// The coordinate system table: turns the four coordinate system attributes
// of a survey (projection zone, horizontal datum, horizontal epoch, units)
// into a coordinate system id (CSID, the EPSG code in the shipped table),
// with the CSID's optional bounding box and its projection file.
//
// COORDSYS.csv: line 1 is a header and is skipped unread. Every further line
// is cut at ","; lines of other than 9 fields are ignored. Fields 1-4 are
// the key (each trimmed and upper-cased, joined with ","), fields 5-8 the
// bounding box MinX, MinY, MaxX, MaxY (used only when all four are numeric)
// and field 9 the CSID. A CSID that is not a whole number, or a key listed
// twice, is reported through the notifier (" : " and the line's text) and
// the line is skipped; loading goes on. Several keys may share one CSID;
// its first bounding box is the one kept.
//
// Projection files: "<CSID>.prj" in the projection folder.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "config/ordered_map.h"

namespace veldrane {

class ISurveyPoint;
class IGage;
class IVerticalControl;
class ITraversePoint;

struct CoordinateBoundingBox {
  double MinX = 0;
  double MinY = 0;
  double MaxX = 0;
  double MaxY = 0;
};

class SurveyCoordinateSystemDomain {
 public:
  // An empty table without a projection folder.
  SurveyCoordinateSystemDomain() = default;
  SurveyCoordinateSystemDomain(const std::string& tableFileName, std::string projectionFolder);

  // Replaces both tables by the file's contents. A file that cannot be
  // opened leaves them empty after one message.
  void LoadTable(const std::string& tableFileName);
  void LoadTableText(std::string_view text);

  const std::string& ProjectionFolder() const { return projectionFolder_; }
  void SetProjectionFolder(std::string folder) { projectionFolder_ = std::move(folder); }

  // The CSID of the combination, 0 when it is not in the table. The
  // arguments are upper-cased but not trimmed.
  std::int32_t LookupCoordinateSystemId(const std::string& fips, const std::string& HorizontalDatum,
                                        const std::string& HorizontalEpoch, const std::string& Units) const;

  bool HasBoundingBox(std::int32_t CSID) const;
  // 0.0 when the CSID has no bounding box.
  double LookupMinX(std::int32_t CSID) const;
  double LookupMinY(std::int32_t CSID) const;
  double LookupMaxX(std::int32_t CSID) const;
  double LookupMaxY(std::int32_t CSID) const;

  // Inside when MinX <= x <= MaxX and MinY <= y <= MaxY. A CSID without a
  // bounding box raises RaisedError 909125 ("Coordinate Reference System
  // has no Bounding Box"); callers test HasBoundingBox first.
  bool IsInBoundingBox(std::int32_t CSID, double x, double y) const;
  bool IsPointInBoundingBox(std::int32_t CSID, ISurveyPoint& p) const;                // X, Y
  bool IsGageInBoundingBox(std::int32_t CSID, IGage& p) const;                        // Easting, Northing
  bool IsVerticalControlInBoundingBox(std::int32_t CSID, IVerticalControl& p) const;  // Easting, Northing
  bool IsTraversePointInBoundingBox(std::int32_t CSID, ITraversePoint& p) const;      // Easting, Northing

  // Full path of the combination's ".prj" file when that file exists, else "".
  std::string LookupCoordinateSystemPrjFileName(const std::string& fips, const std::string& HorizontalDatum,
                                                const std::string& HorizontalEpoch, const std::string& Units) const;
  // The whole text of that file, or "" when there is none.
  std::string LookupCoordinateSystemPrj(const std::string& fips, const std::string& HorizontalDatum,
                                        const std::string& HorizontalEpoch, const std::string& Units) const;
  // The same by CSID.
  std::string PrjFileNameForId(std::int32_t CSID) const;
  std::string PrjTextForId(std::int32_t CSID) const;

  // Distinct values of key part 1, 2, 3 or 4, in order of first appearance.
  std::vector<std::string> GetProjections() const { return DistinctPart(0); }
  std::vector<std::string> GetDatums() const { return DistinctPart(1); }
  std::vector<std::string> GetHorizontalEpochs() const { return DistinctPart(2); }
  std::vector<std::string> GetUnits() const { return DistinctPart(3); }

  // Every (key, CSID) in file order; the key is "PROJECTION,DATUM,EPOCH,UNITS".
  const std::vector<std::pair<std::string, std::int32_t>>& Entries() const { return ids_.Entries(); }

 private:
  const CoordinateBoundingBox& BoxOrThrow(std::int32_t CSID) const;
  std::vector<std::string> DistinctPart(std::size_t part) const;

  OrderedMap<std::int32_t> ids_;
  std::vector<std::array<std::string, 4>> keyParts_;
  std::unordered_map<std::int32_t, CoordinateBoundingBox> boxes_;
  std::string projectionFolder_;
};

// The current module context's coordinate system domain: at first use, the
// process's copy of the configured table and projection folder (loaded once
// per process).
std::shared_ptr<const SurveyCoordinateSystemDomain> SharedCoordinateSystemDomain();
// Drops the current context's handle (tests; after the settings changed).
void ResetSharedCoordinateSystemDomain();

// LookupCoordinateSystemId on the shared domain; 0 on any failure.
std::int32_t CoordinateSystemIdLookup(const std::string& projection, const std::string& datum,
                                      const std::string& epoch, const std::string& units);

// Translates the attributes as written in a survey through the value
// domains (PROJECTION, HORIZONTAL_DATUM, HORIZONTAL_EPOCH, UNITS) and looks
// the result up. Problems become error records of the current survey file in
// the error log: a missing domain ("Attribute <domain> has invalid value
// "<value>"", the attribute then counts as empty) and an unknown combination
// ("Invalid Coordinate System Parameters; ..."), which returns 0.
std::int32_t CheckCoordinateSystem(const std::string& projection, const std::string& datum, const std::string& epoch,
                                   const std::string& units);

extern const char* const kInvalidCoordinateSystemMessage;

}  // namespace veldrane
