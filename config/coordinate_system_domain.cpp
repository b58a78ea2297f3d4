#include "config/coordinate_system_domain.h"

#include <cmath>
#include <filesystem>
#include <limits>
#include <optional>

#include "config/error_log.h"
#include "config/file_system.h"
#include "config/module_context.h"
#include "config/process_tables.h"
#include "config/settings_paths.h"
#include "config/table_text.h"
#include "config/value_domain.h"
#include "model/constants.h"
#include "model/features.h"
#include "model/notifier.h"
#include "model/survey_error.h"
#include "model/text.h"

namespace veldrane {

const char* const kInvalidCoordinateSystemMessage =
    "Invalid Coordinate System Parameters; Check values of Horizontal Datum, Zone, and Units attributes. For PRO "
    "and Corvid830 files, check that the T01,T02, and T03 records are formatted correctly.";

namespace {

constexpr const char* kDomainSource = "Ordane.SurveyCoordinateSystemDomain";

void ShowLoadProblem(const std::string& text) { CurrentNotifier().Notify(NoticeKind::MessageBox, "", text); }

std::optional<std::int32_t> ParseCsid(std::string_view text) {
  const auto number = ToNumber(text);
  if (!number || std::trunc(*number) != *number || *number < 1 ||
      *number > std::numeric_limits<std::int32_t>::max())
    return std::nullopt;
  return static_cast<std::int32_t>(*number);
}

std::string JoinKey(const std::string& a, const std::string& b, const std::string& c, const std::string& d) {
  return a + "," + b + "," + c + "," + d;
}

void ReportConfigurationError(const std::string& description) {
  GenericSurveyErrorQueue queue;
  queue.Push(std::make_shared<GenericSurveyError>(CurrentSurveyFile(), 0, description, kSeverityError));
  ErrorLog().PullErrors(queue);
}

// The table value of one attribute; a missing domain is reported and counts
// as an empty value.
std::string TranslateAttribute(const SurveyValueDomain& domains, const std::string& domain,
                               const std::string& value) {
  if (!domains.HasDomain(domain)) {
    ReportConfigurationError("Attribute " + domain + " has invalid value \"" + value + "\"");
    return {};
  }
  return domains.LookupValue(domain, value);
}

}  // namespace

SurveyCoordinateSystemDomain::SurveyCoordinateSystemDomain(const std::string& tableFileName,
                                                           std::string projectionFolder)
    : projectionFolder_(std::move(projectionFolder)) {
  LoadTable(tableFileName);
}

void SurveyCoordinateSystemDomain::LoadTable(const std::string& tableFileName) {
  std::string text, error;
  if (!ReadTableFile(tableFileName, text, error)) {
    LoadTableText({});
    ShowLoadProblem(TableLineMessage(error, tableFileName));
    return;
  }
  LoadTableText(text);
}

void SurveyCoordinateSystemDomain::LoadTableText(std::string_view text) {
  ids_.Clear();
  keyParts_.clear();
  boxes_.clear();
  const auto lines = TableLines(text);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const auto fields = SplitAtDelimiter(lines[i], ",");
    if (fields.size() != 9) continue;
    const auto csid = ParseCsid(fields[8]);
    if (!csid) {
      ShowLoadProblem(TableLineMessage("Coordinate system id is not a whole number", lines[i]));
      continue;
    }
    std::array<std::string, 4> parts;
    for (std::size_t p = 0; p < 4; ++p) parts[p] = ToUpperAscii(TrimBlanks(fields[p]));
    if (!ids_.Add(JoinKey(parts[0], parts[1], parts[2], parts[3]), *csid)) {
      ShowLoadProblem(TableLineMessage(kDuplicateKeyDescription, lines[i]));
      continue;
    }
    keyParts_.push_back(std::move(parts));
    const auto minX = ToNumber(fields[4]), minY = ToNumber(fields[5]);
    const auto maxX = ToNumber(fields[6]), maxY = ToNumber(fields[7]);
    if (minX && minY && maxX && maxY) boxes_.emplace(*csid, CoordinateBoundingBox{*minX, *minY, *maxX, *maxY});
  }
}

std::int32_t SurveyCoordinateSystemDomain::LookupCoordinateSystemId(const std::string& fips,
                                                                    const std::string& HorizontalDatum,
                                                                    const std::string& HorizontalEpoch,
                                                                    const std::string& Units) const {
  const auto* csid = ids_.Find(JoinKey(ToUpperAscii(fips), ToUpperAscii(HorizontalDatum),
                                       ToUpperAscii(HorizontalEpoch), ToUpperAscii(Units)));
  return csid ? *csid : 0;
}

bool SurveyCoordinateSystemDomain::HasBoundingBox(std::int32_t CSID) const { return boxes_.count(CSID) != 0; }

double SurveyCoordinateSystemDomain::LookupMinX(std::int32_t CSID) const {
  const auto it = boxes_.find(CSID);
  return it == boxes_.end() ? 0.0 : it->second.MinX;
}

double SurveyCoordinateSystemDomain::LookupMinY(std::int32_t CSID) const {
  const auto it = boxes_.find(CSID);
  return it == boxes_.end() ? 0.0 : it->second.MinY;
}

double SurveyCoordinateSystemDomain::LookupMaxX(std::int32_t CSID) const {
  const auto it = boxes_.find(CSID);
  return it == boxes_.end() ? 0.0 : it->second.MaxX;
}

double SurveyCoordinateSystemDomain::LookupMaxY(std::int32_t CSID) const {
  const auto it = boxes_.find(CSID);
  return it == boxes_.end() ? 0.0 : it->second.MaxY;
}

const CoordinateBoundingBox& SurveyCoordinateSystemDomain::BoxOrThrow(std::int32_t CSID) const {
  const auto it = boxes_.find(CSID);
  if (it == boxes_.end())
    throw RaisedError(kErrNoBoundingBox, kDomainSource, "Coordinate Reference System has no Bounding Box");
  return it->second;
}

bool SurveyCoordinateSystemDomain::IsInBoundingBox(std::int32_t CSID, double x, double y) const {
  const auto& box = BoxOrThrow(CSID);
  return box.MinX <= x && x <= box.MaxX && box.MinY <= y && y <= box.MaxY;
}

bool SurveyCoordinateSystemDomain::IsPointInBoundingBox(std::int32_t CSID, ISurveyPoint& p) const {
  BoxOrThrow(CSID);
  return IsInBoundingBox(CSID, p.X(), p.Y());
}

bool SurveyCoordinateSystemDomain::IsGageInBoundingBox(std::int32_t CSID, IGage& p) const {
  BoxOrThrow(CSID);
  return IsInBoundingBox(CSID, p.Easting(), p.Northing());
}

bool SurveyCoordinateSystemDomain::IsVerticalControlInBoundingBox(std::int32_t CSID, IVerticalControl& p) const {
  BoxOrThrow(CSID);
  return IsInBoundingBox(CSID, p.Easting(), p.Northing());
}

bool SurveyCoordinateSystemDomain::IsTraversePointInBoundingBox(std::int32_t CSID, ITraversePoint& p) const {
  BoxOrThrow(CSID);
  return IsInBoundingBox(CSID, p.Easting(), p.Northing());
}

std::string SurveyCoordinateSystemDomain::PrjFileNameForId(std::int32_t CSID) const {
  if (CSID == 0 || projectionFolder_.empty()) return {};
  const auto file = std::filesystem::path(projectionFolder_) / (std::to_string(CSID) + ".prj");
  return FileExists(file) ? file.string() : std::string();
}

std::string SurveyCoordinateSystemDomain::PrjTextForId(std::int32_t CSID) const {
  const auto file = PrjFileNameForId(CSID);
  return file.empty() ? std::string() : ReadAllText(file);
}

std::string SurveyCoordinateSystemDomain::LookupCoordinateSystemPrjFileName(const std::string& fips,
                                                                            const std::string& HorizontalDatum,
                                                                            const std::string& HorizontalEpoch,
                                                                            const std::string& Units) const {
  return PrjFileNameForId(LookupCoordinateSystemId(fips, HorizontalDatum, HorizontalEpoch, Units));
}

std::string SurveyCoordinateSystemDomain::LookupCoordinateSystemPrj(const std::string& fips,
                                                                    const std::string& HorizontalDatum,
                                                                    const std::string& HorizontalEpoch,
                                                                    const std::string& Units) const {
  return PrjTextForId(LookupCoordinateSystemId(fips, HorizontalDatum, HorizontalEpoch, Units));
}

std::vector<std::string> SurveyCoordinateSystemDomain::DistinctPart(std::size_t part) const {
  OrderedMap<bool> seen;
  for (const auto& parts : keyParts_) seen.Add(parts[part], true);
  std::vector<std::string> values;
  for (const auto& entry : seen.Entries()) values.push_back(entry.first);
  return values;
}

std::shared_ptr<const SurveyCoordinateSystemDomain> SharedCoordinateSystemDomain() {
  ModuleContext& context = CurrentModuleContext();
  if (!context.CoordinateSystemDomain()) {
    const std::string table = CoordSysFilePath();
    const std::string projections = PrjPath();
    context.SetCoordinateSystemDomain(LoadedOncePerProcess<SurveyCoordinateSystemDomain>(
        table + "\n" + projections,
        [&] { return std::make_shared<const SurveyCoordinateSystemDomain>(table, projections); }));
  }
  return context.CoordinateSystemDomain();
}

void ResetSharedCoordinateSystemDomain() { CurrentModuleContext().SetCoordinateSystemDomain(nullptr); }

std::int32_t CoordinateSystemIdLookup(const std::string& projection, const std::string& datum,
                                      const std::string& epoch, const std::string& units) {
  try {
    return SharedCoordinateSystemDomain()->LookupCoordinateSystemId(projection, datum, epoch, units);
  } catch (const std::exception&) {
    return 0;
  }
}

std::int32_t CheckCoordinateSystem(const std::string& projection, const std::string& datum, const std::string& epoch,
                                   const std::string& units) {
  const auto domains = SharedValueDomain();
  const auto tableProjection = TranslateAttribute(*domains, "PROJECTION", projection);
  const auto tableDatum = TranslateAttribute(*domains, "HORIZONTAL_DATUM", datum);
  const auto tableUnits = TranslateAttribute(*domains, "UNITS", units);
  const auto tableEpoch = TranslateAttribute(*domains, "HORIZONTAL_EPOCH", epoch);
  const auto csid = CoordinateSystemIdLookup(tableProjection, tableDatum, tableEpoch, tableUnits);
  if (csid == 0) ReportConfigurationError(kInvalidCoordinateSystemMessage);
  return csid;
}

}  // namespace veldrane
