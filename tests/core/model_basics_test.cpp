// Dates, the error queue and error propagation, the parsing of single field
// values and the text helpers. (Text accumulation is pinned through the EM
// titles, comments and descriptions.)
#include <gtest/gtest.h>

#include <functional>

#include "model/constants.h"
#include "model/date_time.h"
#include "model/error_propagation.h"
#include "model/field_parsing.h"
#include "model/notifier.h"
#include "model/survey_error.h"
#include "model/text.h"
#include "tests/core/capturing_notifier.h"
#include "tests/core/recording_monitor.h"

namespace veldrane {
namespace {

using test::CapturingNotifier;
using Texts = std::vector<std::string>;

TEST(DateTimeTest, FixedFormsAndCalendarRules) {
  const auto d = DateTime::FromDate(2023, 3, 1)->PlusTimeOfDay(*DateTime::FromTime(14, 5, 9));
  EXPECT_EQ(d.ToIso() + " | " + d.ToShortDate() + " | " + d.ToLongDate() + " | " + d.ToGeneral(),
            "2023-03-01T14:05:09 | 3/1/2023 | Wednesday, March 1, 2023 | 3/1/2023 2:05:09 PM");
  EXPECT_FALSE(DateTime::FromDate(2021, 2, 29).has_value());
  EXPECT_TRUE(DateTime::FromDate(2024, 2, 29).has_value());
  EXPECT_EQ(DateTime::FromDate(1850, 7, 4)->ToIso(), "1850-07-04T00:00:00");
}

// First in, first out is pinned by every reader test's records.
TEST(ErrorQueueTest, AFatalRecordIsQueuedThenRaised) {
  GenericSurveyErrorQueue queue;
  try {
    PropogateError(queue, "a.em", -200004, 2, "Ordane.EMSurvey.Update", 7, "Boom");
    FAIL() << "a fatal record must raise";
  } catch (const RaisedError& e) {
    EXPECT_EQ(e.Number(), -200004);
    EXPECT_EQ(e.Source(), "Ordane.EMSurvey.Update");
    EXPECT_STREQ(e.what(), "Line Number : 7 Boom");
  }
  EXPECT_EQ(queue.Pop()->severity(), 2);
  EXPECT_THROW(queue.Pop(), std::out_of_range);
}

TEST(ErrorPropagationTest, InnerLevelsStackUpAndTheTopLevelReportsOnce) {
  CapturingNotifier notifier;
  ScopedNotifier guard(&notifier);
  try {
    try {
      ReportProcedureError(false, "Inner a.cpp ", 5, "Src", "Division by zero");
    } catch (const RaisedError& e) {
      ReportProcedureError(true, "Outer b.cpp ", e.Number(), e.Source(), e.Description(), 4);
    }
  } catch (...) {
    FAIL() << "the top level must not raise";
  }
  ReportProcedureError(true, "Solo c.cpp ", 9, "S", "Oops", 2);
  ASSERT_EQ(notifier.texts.size(), 2u);
  const std::string& text = notifier.texts[0];
  EXPECT_EQ(notifier.kinds, (std::vector<NoticeKind>{NoticeKind::ErrorWindow, NoticeKind::WarningBox}));
  EXPECT_EQ(
      text.find("Record Call Stack Sequence - Bottom line is error line.\r\n\r\n\tOuter b.cpp \r\n\tInner a.cpp "), 0u);
  // Wrapped exactly once, innermost procedure last.
  EXPECT_NE(text.find("Error Number \r\n\t5\r\nDescription\r\n\tDivision by zero"), std::string::npos);
  EXPECT_EQ(text.find("Error Number", text.find("Error Number") + 1), std::string::npos);
  EXPECT_EQ(notifier.titles[1], "Unexpected Program Error");
}

// Each value parsed with the label "L" (numbers: undefined 0.0001, integers:
// 9999999, dates and times: the undefined date), then the messages it
// queued. Values the readers pin with the same messages are left to them: an
// empty or overflowing number, four-digit and bad times, bad dates, a short
// angle, and coordinate pairs (the EM benchmark records).
TEST(FieldParsingTest, ValuesAndTheirMessages) {
  using Parse = std::function<std::string(IMonitor&, std::string_view)>;
  const Parse number = [](IMonitor& m, std::string_view t) { return FormatNumber(ParseNumber(m, t, "L")); };
  const Parse integer = [](IMonitor& m, std::string_view t) { return std::to_string(ParseInteger(m, t, "L")); };
  const Parse time = [](IMonitor& m, std::string_view t) { return ParseTime(m, t, "L").ToIso(); };
  const Parse date = [](IMonitor& m, std::string_view t) { return ParseDate(m, t, "L").ToIso(); };
  const Parse station = [](IMonitor& m, std::string_view t) { return FormatNumber(ParseStation(m, t, "L")); };
  const Parse angle = [](IMonitor& m, std::string_view t) { return FormatNumber(ParseAngle(m, t, "L")); };
  const std::string undefined = "2000-12-31T00:00:00";
  struct Case {
    const Parse& parse;
    const char* text;
    std::string value;
    Texts messages;
  };
  const Case cases[] = {
      {number, "12.5", "12.5", {}}, {number, "-1e3", "-1000", {}}, {number, "+.5", "0.5", {}},
      {number, "inf", "0.0001", {"Invalid Numeric Value : inf"}},
      {number, "0x10", "0.0001", {"Invalid Numeric Value : 0x10"}},
      {number, "1.2.3", "0.0001", {"Invalid Numeric Value : 1.2.3"}},
      {integer, "123456789", "123456789", {}}, {integer, "2.5", "2", {}},
      {integer, "1234567890", "9999999", {"L: Numeric overflow. (Integer values are limited to 9 digits or less)."}},
      {time, "9:05:30", "1899-12-30T09:05:30", {}},
      {date, "3/15/2022", "2022-03-15T00:00:00", {}}, {date, "3/15/98", "1998-03-15T00:00:00", {}},
      {date, "", undefined, {"L: No value specified for date attribute.", "L: Invalid Date Value : "}},
      {date, "1/2/300", undefined, {"L: Invalid/Truncated Date Value : 1/2/300"}},
      {station, "12+50.00", "1250", {}}, {station, "12+50.5", "1250.5", {}}, {station, "1250", "1250", {}},
      {angle, "12-30-36", "12.51", {}},
      {angle, "  ", "0", {"L: No value specified for angular attribute."}},
  };
  for (const auto& c : cases) {
    test::RecordingMonitor m;
    EXPECT_EQ(c.parse(m, c.text), c.value) << c.text;
    EXPECT_EQ(m.messages, c.messages) << c.text;
  }
}

// Fields cut at blanks and at columns are pinned through every reader.
TEST(TextTest, NumbersAndUtf8) {
  EXPECT_EQ(FormatNumber(0.0001) + " " + FormatNumber(9999999) + " " + FormatNumber(0.1 + 0.2),
            "0.0001 9999999 0.30000000000000004");
  // Text that is not valid UTF-8 is read as Windows-1252.
  const std::pair<std::string, std::string> utf8[] = {{"caf\xe9", "caf\xc3\xa9"},
                                                      {"\x93quoted\x94", "\xe2\x80\x9cquoted\xe2\x80\x9d"},
                                                      {"ok \xc3\xa9", "ok \xc3\xa9"},
                                                      {std::string("a\0b", 3), std::string("a\0b", 3)},
                                                      {"\x81", "\xef\xbf\xbd"}};
  for (const auto& [in, out] : utf8) EXPECT_EQ(ToValidUtf8(in), out);
}

}  // namespace
}  // namespace veldrane
