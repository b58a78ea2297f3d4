#include "readers/traverse/tessel_traverse.h"

#include "config/file_access.h"
#include "model/constants.h"
#include "model/field_parsing.h"
#include "model/text.h"
#include "readers/fixedcolumn/chunked_line_reader.h"
#include "readers/traverse/tessel_traverse_point_iterator.h"

namespace veldrane {
namespace {

constexpr std::int32_t kHeaderLines = 25;
constexpr std::int32_t kDatumLine = 14;
constexpr std::int32_t kZoneLine = 16;
constexpr const char* kSource = "Ordane.TesselTraverse.OpenTraverse";

}  // namespace

void TesselTraverse::OpenTraverse(const std::string& path) {
  path_ = path;
  lineNumber_ = 1;
  stations_.clear();
  ChunkedLineReader lines;
  if (!lines.Open(path)) {
    QueueHeaderError(0,
                     "Unable to open traverse file : " + path + " (" + CurrentFileAccess().WhyNotReadable(path) + ")");
    return;
  }
  std::string_view line;
  while (lineNumber_ <= kHeaderLines && lines.Next(line)) {
    ReadHeaderLine(line);
    ++lineNumber_;
  }
  ReadStations(lines);
  if (!lines.ReadFailure().empty()) QueueHeaderError(lineNumber_ - 1, lines.ReadFailure());
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

void TesselTraverse::ReadStations(LineSource& lines) {
  while (true) {
    TesselTraversePoint station;
    bool wasRead = false;
    station.InitFromLines(*this, lines, wasRead);
    // The end of the file, or the first group that does not open with
    // "(nnn)", ends the stations (a summary or adjustment report follows).
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
  // Items keep their owner alive; an owner that is not shared (made on the
  // stack) hands out plain pointers that live as long as it does.
  const std::shared_ptr<void> self = weak_from_this().lock();
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
