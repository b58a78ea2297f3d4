// The one-line text of error records printed by `veldrane check`.
#include <gtest/gtest.h>

#include "cli/error_format.h"
#include "config/error_log.h"
#include "model/survey_error.h"

namespace veldrane::cli {
namespace {

TEST(ErrorFormatTest, LinesBelowOneAreLeftOutAndMissingFileNamesFallBack) {
  EXPECT_EQ(FormatErrorLine(GenericSurveyError("a.em", -1, "Cross-section (R-1) does not intersect baseline", 0), "x"),
            "a.em: warning: Cross-section (R-1) does not intersect baseline");
  EXPECT_EQ(FormatErrorLine(GenericSurveyError("a.em", 0, "Whole file", 1), "x"), "a.em: error: Whole file");
  EXPECT_EQ(FormatErrorLine(GenericSurveyError("", 1, "First line", 1), "samples/b.em"),
            "samples/b.em:1: error: First line");
}

TEST(ErrorFormatTest, RecordsStayOnOneLineAndValidUtf8) {
  EXPECT_EQ(FormatErrorLine(GenericSurveyError("a.em", 5, "Two\r\nlines\rand\nmore", 1), "x"),
            "a.em:5: error: Two  lines and more");
  EXPECT_EQ(FormatErrorLine(GenericSurveyError("caf\xE9.em", 5, "68\xB0", 1), "x"),
            "caf\xC3\xA9.em:5: error: 68\xC2\xB0");
}

TEST(ErrorFormatTest, SeverityNamesCoverOutOfRangeValues) {
  EXPECT_STREQ(SeverityWord(-3), "warning");
  EXPECT_STREQ(SeverityWord(0), "warning");
  EXPECT_STREQ(SeverityWord(1), "error");
  EXPECT_STREQ(SeverityWord(2), "fatal");
  EXPECT_STREQ(SeverityWord(7), "fatal");
}

TEST(ErrorFormatTest, SummaryCountsWithSingularAndPlural) {
  EXPECT_EQ(FormatCheckSummary(3, 2, 5, 0), "3 files checked: 2 errors, 5 warnings");
  EXPECT_EQ(FormatCheckSummary(1, 1, 1, 0), "1 file checked: 1 error, 1 warning");
  EXPECT_EQ(FormatCheckSummary(0, 0, 0, 1), "0 files checked: 0 errors, 0 warnings, 1 path could not be read");
  EXPECT_EQ(FormatCheckSummary(4, 0, 0, 2), "4 files checked: 0 errors, 0 warnings, 2 paths could not be read");
}

}  // namespace
}  // namespace veldrane::cli
