#pragma once
// Reader of traverse reports (".27", ".83"): a 25-line header and then one
// group of four fixed-column lines per station, read as they stand.
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/features.h"
#include "model/survey_error.h"
#include "readers/fixedcolumn/line_source.h"
#include "readers/traverse/tessel_traverse_point.h"

namespace veldrane {

class TesselTraverse : public ITraverse, public IMonitor, public std::enable_shared_from_this<TesselTraverse> {
 public:
  // Reads the whole file. Problems never stop the read: they are queued in
  // Errors(). A file that cannot be read is reported the same way and gives
  // a traverse without stations.
  void OpenTraverse(const std::string& path);
  // A new traverse read from `path`: the survey factory's opener.
  static std::shared_ptr<IInterface> Open(const std::string& path);

  std::string JobNumber() override { return jobNumber_; }
  std::string OriginalFileName() override { return path_; }
  std::string HorizontalDatum() override { return horizontalDatum_; }
  std::string HorizontalEpoch() override { return {}; }
  double HorizontalAccuracy() override { return kUndefinedNumber; }
  std::string HorizontalAccuracyClass() override { return {}; }
  // The date kept as text, converted on every read.
  DateTime TraverseDate() override;
  std::string FieldBook() override { return fieldBook_; }
  std::string PageNumber() override { return {}; }
  std::string Title() override { return title_; }
  std::string Projection() override { return projection_; }
  std::string Units() override { return "Feet"; }
  std::shared_ptr<ITraversePointIterator> TraversePoints() override;
  std::shared_ptr<ISurveyErrorQueue> Errors() override { return errors_; }
  std::string Comments() override { return {}; }

  std::string Filename() const override { return path_; }
  std::int32_t LineNumber() const override { return lineNumber_; }
  void SetLineNumber(std::int32_t line) override { lineNumber_ = line; }
  void AppendError(const std::string& description) override;
  std::shared_ptr<ISurveyErrorQueue> errorQueue() override { return errors_; }

 private:
  void ReadHeaderLine(std::string_view line);
  void ReadStations(LineSource& lines);
  void QueueHeaderError(std::int32_t line, const std::string& description);

  std::string path_;
  std::string jobNumber_;
  std::string traverseDateText_ = "12/31/2000";
  std::string fieldBook_;
  std::string title_;
  std::string horizontalDatum_;
  std::string projection_;
  // The number of the line being read (1 for the first line).
  std::int32_t lineNumber_ = 1;
  std::shared_ptr<GenericSurveyErrorQueue> errors_ = std::make_shared<GenericSurveyErrorQueue>();
  // Stations by value; they are handed out as pointers that keep the
  // traverse (their monitor) alive, so they must never move.
  std::deque<TesselTraversePoint> stations_;
};

}  // namespace veldrane
