#include "readers/traverse/tessel_traverse.h"

#include "model/constants.h"
#include "model/field_parsing.h"
#include "model/text.h"
#include "readers/fixedcolumn/file_contents.h"
#include "readers/fixedcolumn/line_cursor.h"
#include "readers/traverse/tessel_traverse_point_iterator.h"

namespace veldrane {
namespace {

constexpr std::int32_t kHeaderLines = 25;
constexpr std::int32_t kDatumLine = 14;
constexpr std::int32_t kZoneLine = 16;
constexpr const char* kSource = "Ordane.TesselTraverse.OpenTraverse";
// A station group is at least its first line of some 100 characters; the
// estimate only sizes the station list once.
constexpr std::size_t kBytesPerStationEstimate = 400;

}  // namespace

void TesselTraverse::OpenTraverse(const std::string& path) {
  path_ = path;
  lineNumber_ = 1;
  stations_.clear();
  std::string contents;
  if (!ReadFileContents(path, contents)) {
    QueueHeaderError(0, "Unable to open traverse file : " + path);
    return;
  }
  LineCursor lines(contents);
  std::string_view line;
  while (lineNumber_ <= kHeaderLines && lines.Next(line)) {
    ReadHeaderLine(line);
    ++lineNumber_;
  }
  stations_.reserve(contents.size() / kBytesPerStationEstimate + 1);
  ReadStations(lines);
  stations_.shrink_to_fit();
}

std::shared_ptr<IInterface> TesselTraverse::Open(const std::string& path) {
  auto traverse = std::make_shared<TesselTraverse>();
  traverse->OpenTraverse(path);
  return traverse;
}

void TesselTraverse::ReadHeaderLine(std::string_view line) {
  switch (lineNumber_) {
    case 1: {
      jobNumber_ = std::string(ColumnField(line, 8, 50));
      if (const auto date = TryParseDate(ColumnField(line, 122, 12))) traverseDateText_ = date->ToGeneral();
      break;
    }
    case 2:
      title_ = std::string(ColumnField(line, 21, 80));
      break;
    case 3:
      fieldBook_ = std::string(ColumnField(line, 10, 80));
      break;
    case kDatumLine: {
      const std::string_view text = TrimBlanks(line);
      if (text.find("1983") != std::string_view::npos) {
        horizontalDatum_ = "NAD83";
      } else if (text.find("1927") != std::string_view::npos) {
        horizontalDatum_ = "NAD27";
      } else {
        QueueHeaderError(kDatumLine, "Unrecognized horizontal datum : " + std::string(text));
      }
      break;
    }
    case kZoneLine: {
      const std::string_view text = TrimBlanks(line);
      if (text.find("LOUISIANA SOUTH") != std::string_view::npos) {
        projection_ = "1702";
      } else {
        QueueHeaderError(kZoneLine, "Unrecognized state plane zone : " + std::string(text));
      }
      break;
    }
    default:
      break;
  }
}

void TesselTraverse::ReadStations(LineCursor& lines) {
  while (!lines.AtEnd()) {
    TesselTraversePoint station;
    bool wasRead = false;
    station.InitFromLines(*this, lines, wasRead);
    // The first group that does not open with "(nnn)" ends the stations
    // (a summary or adjustment report follows them).
    if (!wasRead) return;
    stations_.push_back(std::move(station));
  }
}

DateTime TesselTraverse::TraverseDate() {
  const auto date = TryParseDate(traverseDateText_);
  return date ? *date : DateTime::Undefined();
}

std::shared_ptr<ITraversePointIterator> TesselTraverse::TraversePoints() {
  std::vector<std::shared_ptr<ITraversePoint>> items;
  items.reserve(stations_.size());
  const auto self = shared_from_this();
  for (auto& station : stations_) items.emplace_back(self, &station);
  auto iterator = std::make_shared<TesselTraversePointIterator>();
  iterator->InitTraversePoints(items);
  return iterator;
}

void TesselTraverse::AppendError(const std::string& description) {
  errors_->Push(std::make_shared<GenericSurveyError>(path_, lineNumber_, description, kSeverityError));
}

void TesselTraverse::QueueHeaderError(std::int32_t line, const std::string& description) {
  PropogateError(*errors_, path_, 0, kSeverityError, kSource, line, description);
}

}  // namespace veldrane
