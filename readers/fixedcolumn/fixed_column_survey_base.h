#pragma once
// What the fixed-column (.830) and PRO (.pro) surveys have in common: the
// "T" header records, the survey's error queue and monitor, the CODES.DAT
// code dictionary with its interned point codes, and the ISurvey members
// that neither format fills (they answer empty, none, 0 or the undefined
// number). Each format overrides the collections it does fill.
#include <cstdint>
#include <memory>
#include <string>

#include "config/code_dictionary.h"
#include "model/constants.h"
#include "model/features.h"
#include "model/survey_error.h"
#include "readers/fixedcolumn/chunked_line_reader.h"
#include "readers/fixedcolumn/header_records.h"
#include "readers/fixedcolumn/interned_code_table.h"

namespace veldrane {

class FixedColumnSurveyBase : public ISurvey, public IMonitor {
 public:
  std::string JobNumber() override { return headers_.JobNumber(); }
  std::string Title() override { return headers_.Title(); }
  std::string Comments() override { return {}; }
  std::string OriginalFileName() override { return headers_.OriginalFileName(); }
  std::string Contractor() override { return headers_.Contractor(); }
  std::string HorizontalDatum() override { return headers_.HorizontalDatum(); }
  std::string VerticalDatum() override { return headers_.VerticalDatum(); }
  std::string Epoch() override { return headers_.Epoch(); }
  std::string Location() override { return headers_.Location(); }
  std::string SurveyOrder() override { return headers_.SurveyOrder(); }
  std::shared_ptr<ICrossSectionIterator> CrossSections() override;
  std::shared_ptr<IProfileCenterlineIterator> ProfileCenterlines() override;
  DateTime SurveyDate() override { return headers_.SurveyDate(); }
  DateTime SurveyStartDate() override { return headers_.SurveyDate(); }
  DateTime SurveyEndDate() override { return headers_.SurveyDate(); }
  std::shared_ptr<IMiscShotPointIterator> MiscShotPoints() override;
  std::shared_ptr<ISurveyAreaIterator> Areas() override;
  std::string Units() override { return headers_.Units(); }
  std::string Projection() override { return headers_.Projection(); }
  std::shared_ptr<IVerticalControlIterator> VerticalControls() override;
  std::shared_ptr<IGageIterator> Gages() override;
  std::shared_ptr<ISurveyErrorQueue> Errors() override { return errors_; }
  std::string FieldBook() override { return {}; }
  std::string PageNumber() override { return {}; }
  std::shared_ptr<ICrewMemberIterator> CrewMembers() override;
  std::shared_ptr<IEquipmentIterator> Equipment() override;
  std::shared_ptr<IWeatherIterator> Weather() override;
  std::shared_ptr<ITraverse> Baseline() override { return nullptr; }
  std::string BaselineFileName() override { return {}; }
  double CombinedScaleFactor() override { return kUndefinedNumber; }
  std::string version() override { return {}; }
  std::string HorizontalEpoch() override { return {}; }
  std::string HorizontalAccuracyClass() override { return {}; }
  double VerticalAccuracy() override { return 0; }
  std::string ParishName() override { return {}; }
  std::string ContractNumber() override { return {}; }
  double HorizontalAccuracy() override { return 0; }
  std::string VerticalAccuracyClass() override { return {}; }
  std::string QuadName() override { return {}; }
  std::string GetCustomCode(const std::string& code) override;
  bool HasCustomCode(const std::string& code) override { return codes_->Dictionary().Contains(code); }

  // IMonitor: the file being read, the number of the line being read, and
  // severity-1 records at that line.
  std::string Filename() const override { return fileName_; }
  std::int32_t LineNumber() const override { return lineNumber_; }
  void SetLineNumber(std::int32_t line) override { lineNumber_ = line; }
  void AppendError(const std::string& description) override;
  std::shared_ptr<ISurveyErrorQueue> errorQueue() override { return errors_; }

  // A severity-0 record (an ignored line or a check that did not apply) at
  // the current line. `source` names the reporting procedure.
  void AppendWarning(const std::string& source, const std::string& description);

  // The code dictionary loaded from CODES.DAT beside the file.
  const veldrane::CodeDictionary& CodeDictionary() const { return codes_->Dictionary(); }
  // Point codes of this file and its code dictionary; features keep the
  // table alive with their points.
  const std::shared_ptr<InternedCodeTable>& Codes() const { return codes_; }
  // The header values read so far.
  const HeaderRecords& Headers() const { return headers_; }

 protected:
  explicit FixedColumnSurveyBase(HeaderRecords::ShortT04 shortT04);

  // Starts a new read of `fileName`: remembers the name, loads CODES.DAT
  // from its folder and opens the file with `lines`. A file that cannot be
  // opened is reported (severity 1, line 0) and yields false; the survey
  // then stays empty but usable.
  bool BeginRead(const std::string& fileName, ChunkedLineReader& lines);
  // Reports a read that failed part way (severity 1, at the last line read).
  void EndRead(const ChunkedLineReader& lines);

  HeaderRecords& MutableHeaders() { return headers_; }

 private:
  HeaderRecords headers_;
  std::string fileName_;
  std::int32_t lineNumber_ = 0;
  std::shared_ptr<GenericSurveyErrorQueue> errors_ = std::make_shared<GenericSurveyErrorQueue>();
  std::shared_ptr<InternedCodeTable> codes_;
};

}  // namespace veldrane
