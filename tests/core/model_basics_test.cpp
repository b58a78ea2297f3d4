#include <gtest/gtest.h>

#include "model/constants.h"
#include "model/date_time.h"
#include "model/error_propagation.h"
#include "model/field_parsing.h"
#include "model/notifier.h"
#include "model/string_builder.h"
#include "model/survey_error.h"
#include "model/text.h"
#include "tests/core/capturing_notifier.h"
#include "tests/core/recording_monitor.h"

namespace veldrane {
namespace {

using test::CapturingNotifier;

TEST(DateTimeTest, UndefinedDateAndZeroPrintInFixedForms) {
  EXPECT_EQ(DateTime::Undefined().ToIso(), "2000-12-31T00:00:00");
  EXPECT_EQ(DateTime::Zero().ToIso(), "1899-12-30T00:00:00");
  EXPECT_EQ(DateTime::Undefined().Seconds(), 36891LL * 86400);
  const auto d = DateTime::FromDate(2023, 3, 1)->PlusTimeOfDay(*DateTime::FromTime(14, 5, 9));
  EXPECT_EQ(d.ToIso(), "2023-03-01T14:05:09");
  EXPECT_EQ(d.ToShortDate(), "3/1/2023");
  EXPECT_EQ(d.ToLongDate(), "Wednesday, March 1, 2023");
  EXPECT_EQ(d.ToGeneral(), "3/1/2023 2:05:09 PM");
  EXPECT_FALSE(DateTime::FromDate(2021, 2, 29).has_value());
  EXPECT_TRUE(DateTime::FromDate(2024, 2, 29).has_value());
  EXPECT_EQ(DateTime::FromDate(1850, 7, 4)->ToIso(), "1850-07-04T00:00:00");
}

TEST(ErrorQueueTest, FirstInFirstOutAndRecordText) {
  GenericSurveyErrorQueue queue;
  queue.Push(std::make_shared<GenericSurveyError>("f", 12, "Bad", 1));
  queue.Push(std::make_shared<GenericSurveyError>("f", 13, "Worse", 0));
  EXPECT_EQ(queue.Pop()->ToString(), "Line Number : 12 Bad");
  EXPECT_EQ(queue.Pop()->Description(), "Worse");
  EXPECT_TRUE(queue.IsEmpty());
  EXPECT_THROW(queue.Pop(), std::out_of_range);
}

TEST(ErrorQueueTest, FatalRecordIsQueuedThenRaised) {
  GenericSurveyErrorQueue queue;
  try {
    PropogateError(queue, "a.em", -200004, 2, "Ordane.EMSurvey.Update", 7, "Boom");
    FAIL() << "a fatal record must raise";
  } catch (const RaisedError& e) {
    EXPECT_EQ(e.Number(), -200004);
    EXPECT_EQ(e.Source(), "Ordane.EMSurvey.Update");
    EXPECT_STREQ(e.what(), "Line Number : 7 Boom");
  }
  ASSERT_FALSE(queue.IsEmpty());
  EXPECT_EQ(queue.Pop()->severity(), 2);
}

TEST(StringBuilderTest, TrailingBlanksAreDroppedOnlyAtTheEnd) {
  StringBuilder a;
  a.Append("ab ");
  a.Append("c");
  EXPECT_EQ(a.ToString(), "ab c");
  StringBuilder b;
  b.Append("ab ");
  EXPECT_EQ(b.ToString(), "ab");
  b.Append("c");
  EXPECT_EQ(b.ToString(), "ab c");
  b.Clear();
  EXPECT_TRUE(b.IsEmpty());
  EXPECT_EQ(b.ToString(), "");
}

TEST(StringBuilderTest, GrowsByDoublingTheInitialCapacity) {
  StringBuilder sb;
  sb.Append(std::string(1500, 'x'));
  EXPECT_EQ(sb.Capacity(), 2000);
  StringBuilder small;
  small.Append("abc");
  EXPECT_EQ(small.Capacity(), 1000);
}

TEST(ErrorPropagationTest, InnerLevelsStackUpAndTopLevelReportsOnce) {
  CapturingNotifier notifier;
  ScopedNotifier guard(&notifier);
  try {
    try {
      ReportProcedureError(false, "Inner a.cpp ", 5, "Src", "Division by zero");
    } catch (const RaisedError& e) {
      ReportProcedureError(true, "Outer b.cpp ", e.Number(), e.Source(), e.Description(), 4);
    }
  } catch (...) {
    FAIL() << "top level must not raise";
  }
  ASSERT_EQ(notifier.texts.size(), 1u);
  EXPECT_EQ(notifier.kinds[0], NoticeKind::ErrorWindow);
  const std::string& text = notifier.texts[0];
  EXPECT_EQ(text.find("Record Call Stack Sequence - Bottom line is error line.\r\n\r\n\tOuter b.cpp \r\n\tInner a.cpp "), 0u);
  // Wrapped exactly once, innermost procedure last.
  EXPECT_NE(text.find("Error Number \r\n\t5\r\nDescription\r\n\tDivision by zero"), std::string::npos);
  EXPECT_EQ(text.find("Error Number", text.find("Error Number") + 1), std::string::npos);

  ReportProcedureError(true, "Solo c.cpp ", 9, "S", "Oops", 2);
  ASSERT_EQ(notifier.texts.size(), 2u);
  EXPECT_EQ(notifier.kinds[1], NoticeKind::WarningBox);
  EXPECT_EQ(notifier.titles[1], "Unexpected Program Error");
}

TEST(FieldParsingTest, Numbers) {
  test::RecordingMonitor m;
  EXPECT_DOUBLE_EQ(ParseNumber(m, "12.5", "L"), 12.5);
  EXPECT_DOUBLE_EQ(ParseNumber(m, "-1e3", "L"), -1000);
  EXPECT_DOUBLE_EQ(ParseNumber(m, "+.5", "L"), 0.5);
  EXPECT_TRUE(m.messages.empty());
  EXPECT_EQ(ParseNumber(m, "12,5", "L"), kUndefinedNumber);
  EXPECT_EQ(m.messages.back(), "Invalid Numeric Value : 12,5");
  m.messages.clear();
  EXPECT_EQ(ParseNumber(m, "", "Invalid #H12 record"), kUndefinedNumber);
  ASSERT_EQ(m.messages.size(), 2u);
  EXPECT_EQ(m.messages[0], "Invalid #H12 record: No value specified for numeric attribute.");
  EXPECT_EQ(m.messages[1], "Invalid Numeric Value : ");
  for (const char* bad : {"inf", "nan", "0x10", "1e", "--1", ".", "1.2.3", "1e999"}) {
    EXPECT_EQ(ParseNumber(m, bad, "L"), kUndefinedNumber) << bad;
  }
}

TEST(FieldParsingTest, Integers) {
  test::RecordingMonitor m;
  EXPECT_EQ(ParseInteger(m, "123456789", "L"), 123456789);
  EXPECT_EQ(ParseInteger(m, "1234567890", "L"), kUndefinedPointId);
  EXPECT_EQ(m.messages.back(), "L: Numeric overflow. (Integer values are limited to 9 digits or less).");
  EXPECT_EQ(ParseInteger(m, "12a", "L"), kUndefinedPointId);
  EXPECT_EQ(m.messages.back(), "Invalid Numeric Value : 12a");
  EXPECT_EQ(ParseInteger(m, "2.5", "L"), 2);
}

TEST(FieldParsingTest, TimesAndDates) {
  test::RecordingMonitor m;
  EXPECT_EQ(ParseTime(m, "0930", "L").ToIso(), "1899-12-30T09:30:00");
  EXPECT_EQ(ParseTime(m, "1415", "L").ToIso(), "1899-12-30T14:15:00");
  EXPECT_EQ(ParseTime(m, "9:05:30", "L").ToIso(), "1899-12-30T09:05:30");
  EXPECT_TRUE(m.messages.empty());
  EXPECT_EQ(ParseTime(m, "93", "L"), DateTime::Undefined());
  EXPECT_EQ(m.messages.back(), "L: Invalid time string : 93");
  EXPECT_EQ(ParseTime(m, "25:99", "L"), DateTime::Undefined());

  m.messages.clear();
  EXPECT_EQ(ParseDate(m, "3/15/2022", "L").ToIso(), "2022-03-15T00:00:00");
  EXPECT_EQ(ParseDate(m, "3/15/98", "L").ToIso(), "1998-03-15T00:00:00");
  EXPECT_TRUE(m.messages.empty());
  EXPECT_EQ(ParseDate(m, "", "L"), DateTime::Undefined());
  ASSERT_EQ(m.messages.size(), 2u);
  EXPECT_EQ(m.messages[0], "L: No value specified for date attribute.");
  EXPECT_EQ(m.messages[1], "L: Invalid Date Value : ");
  EXPECT_EQ(ParseDate(m, "1/2/300", "L"), DateTime::Undefined());
  EXPECT_EQ(m.messages.back(), "L: Invalid/Truncated Date Value : 1/2/300");
  EXPECT_EQ(ParseDate(m, "13/1/2020", "L"), DateTime::Undefined());
}

TEST(FieldParsingTest, StationsAnglesAndPairs) {
  test::RecordingMonitor m;
  EXPECT_DOUBLE_EQ(ParseStation(m, "12+50.00", "L"), 1250);
  EXPECT_DOUBLE_EQ(ParseStation(m, "1250", "L"), 1250);
  EXPECT_DOUBLE_EQ(ParseStation(m, "12+50.5", "L"), 1250.5);
  EXPECT_NEAR(ParseAngle(m, "12-30-36", "L"), 12.51, 1e-12);
  EXPECT_TRUE(m.messages.empty());
  EXPECT_EQ(ParseAngle(m, "12-30", "L"), 0);
  EXPECT_EQ(m.messages.back(),
            "L: Invalid Angle - angle should be written as three numbers separated by dashes : 12-30");
  EXPECT_EQ(ParseAngle(m, "  ", "L"), 0);
  EXPECT_EQ(m.messages.back(), "L: No value specified for angular attribute.");

  const auto pair = ParseCoordinatePair(m, "5000.5, 2000.25", "L");
  EXPECT_DOUBLE_EQ(pair[0], 2000.25);
  EXPECT_DOUBLE_EQ(pair[1], 5000.5);
  const auto blanks = ParseCoordinatePair(m, "10   20", "L");
  EXPECT_DOUBLE_EQ(blanks[0], 20);
  const auto single = ParseCoordinatePair(m, "10", "Invalid Benchmark Coordinate");
  EXPECT_EQ(single[0], kUndefinedNumber);
  EXPECT_EQ(single[1], kUndefinedNumber);
  EXPECT_EQ(m.messages.back(), "Invalid Benchmark Coordinate : 10");
}

TEST(TextTest, SplittingAndColumns) {
  const auto fields = BlankFieldSplit("a  b   c");
  ASSERT_EQ(fields.size(), 3u);
  EXPECT_EQ(fields[2], "c");
  EXPECT_TRUE(BlankFieldSplit("   ").empty());
  EXPECT_EQ(SplitKeepEmpty("a,,b", ',').size(), 3u);
  EXPECT_EQ(ColumnField("T01  abc   ", 6, 4), "abc");
  EXPECT_EQ(ColumnField("short", 20, 5), "");
  EXPECT_EQ(FormatNumber(0.0001), "0.0001");
  EXPECT_EQ(FormatNumber(9999999), "9999999");
  EXPECT_EQ(FormatNumber(0.1 + 0.2), "0.30000000000000004");
}

TEST(TextTest, InvalidUtf8IsReadAsWindows1252) {
  EXPECT_EQ(ToValidUtf8("caf\xe9"), "caf\xc3\xa9");
  EXPECT_EQ(ToValidUtf8("\x93quoted\x94"), "\xe2\x80\x9cquoted\xe2\x80\x9d");
  EXPECT_EQ(ToValidUtf8("ok \xc3\xa9"), "ok \xc3\xa9");
  EXPECT_EQ(ToValidUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
  EXPECT_EQ(ToValidUtf8("\x81"), "\xef\xbf\xbd");
}

}  // namespace
}  // namespace veldrane
