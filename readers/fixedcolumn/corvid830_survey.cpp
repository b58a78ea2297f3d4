#include "readers/fixedcolumn/corvid830_survey.h"

#include <unordered_map>

#include "readers/em/em_gage.h"
#include "readers/em/em_vertical_control.h"
#include "readers/fixedcolumn/corvid830_cross_section_iterator.h"
#include "readers/fixedcolumn/corvid830_vertical_control_iterator.h"
#include "readers/fixedcolumn/chunked_line_reader.h"

namespace veldrane {
namespace {

constexpr const char* kSource = "Ordane.Corvid830Survey";
constexpr std::string_view kBlockEnd = "9999999";

// Hash over values that Equals requires to be equal, so that equal objects
// always meet in one bucket; Equals decides.
std::size_t MixHash(std::size_t seed, std::size_t value) {
  return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}
std::size_t HashNumber(double v) { return std::hash<double>{}(v == 0 ? 0.0 : v); }

}  // namespace

Corvid830Survey::Corvid830Survey() : FixedColumnSurveyBase(HeaderRecords::ShortT04::Ignore) {}

void Corvid830Survey::OpenSurvey(const std::string& fileName) {
  currentPid_ = 0;
  sections_.clear();
  arena_ = std::make_shared<BlockArena<Corvid830SurveyPoint>>();
  ChunkedLineReader lines;
  if (!BeginRead(fileName, lines)) return;
  ReadRecords(lines);
  EndRead(lines);
  scratch_.clear();
  scratch_.shrink_to_fit();
}

std::shared_ptr<IInterface> Corvid830Survey::Open(const std::string& path) {
  auto survey = std::make_shared<Corvid830Survey>();
  survey->OpenSurvey(path);
  return survey;
}

void Corvid830Survey::ReadRecords(LineSource& lines) {
  std::string block;
  std::string_view line;
  while (lines.Next(line)) {
    if (!line.empty() && line.front() == 'T') {
      if (HeaderRecords::IsHeaderTag(line)) {
        SetLineNumber(LineNumber() + 1);
        MutableHeaders().Dispatch(line, *this);
        continue;
      }
      // A "T" line with a tag of its own is a cross-section record of one line.
      if (!AddCrossSection(line)) return;
      continue;
    }
    // A block runs from this line to the first later line holding "9999999".
    // It is gathered first and parsed once complete: a block that the end of
    // the file cuts off is dropped unread.
    block.assign(line);
    bool closed = false;
    while (!closed && lines.Next(line)) {
      block.push_back('\n');
      block.append(line);
      closed = line.find(kBlockEnd) != std::string_view::npos;
    }
    if (!closed || !AddCrossSection(block)) return;
  }
}

bool Corvid830Survey::AddCrossSection(std::string_view record) {
  auto section = std::make_shared<Corvid830CrossSection>();
  if (!section->InitCrossSection(record, *this)) return false;
  sections_.push_back(std::move(section));
  return true;
}

std::shared_ptr<ICrossSectionIterator> Corvid830Survey::CrossSections() {
  auto iterator = std::make_shared<Corvid830CrossSectionIterator>();
  iterator->InitCrossSections(sections_);
  return iterator;
}

std::shared_ptr<IVerticalControlIterator> Corvid830Survey::VerticalControls() {
  std::vector<std::shared_ptr<IVerticalControl>> collected;
  std::unordered_multimap<std::size_t, EMVerticalControl*> seen;
  for (const auto& section : sections_) {
    const auto& benchmark = section->BenchmarkControl();
    if (!benchmark) continue;
    const std::size_t key =
        MixHash(std::hash<std::string>{}(benchmark->Name()), HashNumber(benchmark->MeasuredElevation()));
    bool repeated = false;
    const auto range = seen.equal_range(key);
    for (auto it = range.first; it != range.second && !repeated; ++it) repeated = it->second->Equals(benchmark.get());
    if (repeated) {
      AppendWarning(std::string(kSource) + ".VerticalControls", "Duplicate benchmark ignored: " + benchmark->Name());
      continue;
    }
    seen.emplace(key, benchmark.get());
    collected.push_back(benchmark);
  }
  auto iterator = std::make_shared<Corvid830VerticalControlIterator>();
  iterator->InitVerticalControls2(std::move(collected));
  return iterator;
}

std::shared_ptr<IGageIterator> Corvid830Survey::Gages() {
  std::vector<std::shared_ptr<EMGage>> collected;
  std::unordered_multimap<std::size_t, EMGage*> seen;
  for (const auto& section : sections_) {
    const auto& gage = section->GageReading();
    if (!gage) continue;
    std::size_t key = MixHash(std::hash<std::string>{}(gage->Name()), HashNumber(gage->WaterSurfaceElevation()));
    key = MixHash(key, std::hash<std::int64_t>{}(gage->MeasurementDate().Seconds()));
    bool repeated = false;
    const auto range = seen.equal_range(key);
    for (auto it = range.first; it != range.second && !repeated; ++it) repeated = it->second->Equals(gage.get());
    if (repeated) {
      AppendWarning(std::string(kSource) + ".Gages", "Duplicate Gage");
      continue;
    }
    seen.emplace(key, gage.get());
    collected.push_back(gage);
  }
  auto iterator = std::make_shared<EMGageIterator>();
  iterator->InitGages(collected);
  return iterator;
}

}  // namespace veldrane
