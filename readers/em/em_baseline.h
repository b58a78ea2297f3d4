#pragma once
// A baseline file (".bl", an EM file of "#B" records) presented as a
// traverse: every ITraverse member answers from the EM survey read from the
// file, and the baseline points become the traverse stations. Problems in
// the baseline file stay in the baseline's own error queue.
#include <cstdint>
#include <memory>
#include <string>

#include "model/features.h"
#include "model/survey_error.h"
#include "readers/em/em_survey.h"

namespace veldrane {

class EMBaseline : public ITraverse, public IMonitor {
 public:
  EMBaseline();

  // Reads the baseline file.
  void OpenSurvey(const std::string& path);
  // The factory's opener: makes a baseline and reads `path`.
  static std::shared_ptr<IInterface> Open(const std::string& path);

  // ITraverse
  std::string JobNumber() override { return survey_->JobNumber(); }
  std::string OriginalFileName() override { return survey_->OriginalFileName(); }
  std::string HorizontalDatum() override { return survey_->HorizontalDatum(); }
  std::string HorizontalEpoch() override { return survey_->HorizontalEpoch(); }
  double HorizontalAccuracy() override { return survey_->HorizontalAccuracy(); }
  std::string HorizontalAccuracyClass() override { return survey_->HorizontalAccuracyClass(); }
  DateTime TraverseDate() override { return survey_->SurveyDate(); }
  std::string FieldBook() override { return survey_->FieldBook(); }
  std::string PageNumber() override { return survey_->PageNumber(); }
  std::string Title() override { return survey_->Title(); }
  std::string Projection() override { return survey_->Projection(); }
  std::string Units() override { return survey_->Units(); }
  // A new iterator over the baseline points, in file order.
  std::shared_ptr<ITraversePointIterator> TraversePoints() override;
  std::shared_ptr<ISurveyErrorQueue> Errors() override { return survey_->Errors(); }
  std::string Comments() override { return survey_->Comments(); }

  // IMonitor
  std::string Filename() const override { return survey_->Filename(); }
  std::int32_t LineNumber() const override { return survey_->LineNumber(); }
  void SetLineNumber(std::int32_t line) override { survey_->SetLineNumber(line); }
  void AppendError(const std::string& description) override { survey_->AppendError(description); }
  std::shared_ptr<ISurveyErrorQueue> errorQueue() override { return survey_->errorQueue(); }

 private:
  std::shared_ptr<EMSurvey> survey_;
};

}  // namespace veldrane
