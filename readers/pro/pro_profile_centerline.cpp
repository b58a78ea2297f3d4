#include "readers/pro/pro_profile_centerline.h"

#include <array>

#include "model/constants.h"
#include "model/field_parsing.h"
#include "readers/fixedcolumn/plain_decimal.h"
#include "model/iterators.h"

namespace veldrane {
namespace {

constexpr std::size_t kUsedFields = 5;

// The first five blank-separated fields of a line (runs of blanks are one
// separator) and how many of them there are, without building a list per
// line: a large file has millions of lines.
std::size_t FirstFields(std::string_view line, std::array<std::string_view, kUsedFields>& fields) {
  std::size_t count = 0;
  std::size_t i = 0;
  while (i < line.size() && count < kUsedFields) {
    while (i < line.size() && line[i] == ' ') ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ') ++i;
    if (i > start) fields[count++] = line.substr(start, i - start);
  }
  return count;
}

}  // namespace

ProProfileCenterline::ProProfileCenterline(std::shared_ptr<InternedCodeTable> codes) : codes_(std::move(codes)) {}

std::shared_ptr<ISurveyPointIterator> ProProfileCenterline::Points() {
  std::vector<std::shared_ptr<ISurveyPoint>> items;
  items.reserve(points_.Size());
  // Items keep their owner alive; an owner that is not shared (made on the
  // stack) hands out plain pointers that live as long as it does.
  const std::shared_ptr<void> self = weak_from_this().lock();
  points_.ForEach([&](ProSurveyPoint& point) { items.emplace_back(self, &point); });
  return std::make_shared<ListIterator<ISurveyPointIterator, ISurveyPoint>>(std::move(items));
}

void ProProfileCenterline::AddPointFromLine(IMonitor& monitor, std::int32_t id, std::string_view line, bool& added) {
  added = false;
  std::array<std::string_view, kUsedFields> fields;
  const std::size_t count = FirstFields(line, fields);
  if (count < 4) {
    monitor.AppendError(
        "Invalid Data Record. PRO data record must contain a station, easting, northing, elevation, and code values "
        "separated by spaces.");
    return;
  }
  // All four are parsed, so every bad field of the line is reported.
  const double station = ParseNumberQuick(monitor, fields[0], "Non-numeric station");
  const double x = ParseNumberQuick(monitor, fields[1], "Non-numeric X value");
  const double y = ParseNumberQuick(monitor, fields[2], "Non-numeric Y value");
  const double z = ParseNumberQuick(monitor, fields[3], "Non-numeric Z value");
  if (IsUndefined(station) || IsUndefined(x) || IsUndefined(y) || IsUndefined(z)) return;
  const InternedCode* code = count >= 5 ? codes_->Intern(fields[4]) : nullptr;
  points_.Allocate(1)->Init(id, station, x, y, z, code);
  added = true;
}

}  // namespace veldrane
