// Framing of EM files: header records, line numbers under every kind of line
// break, blocks of coordinates, and input that is not a survey at all.
#include <gtest/gtest.h>

#include <random>

#include "model/constants.h"
#include "tests/core/em_test_support.h"

namespace veldrane::test {
namespace {

using EMHeaderTest = EMFileTest;

TEST_F(EMHeaderTest, HeaderRecordsFillTheSurveyValues) {
  auto s = Read(
      "#H00 EM09\n#H01 orig.txt\n#h05 J-123\n#H02 03/01/2023\n#H02 3/5/2023\n#H03 +-0.05\n#H04 NAD83\n"
      "#H06 Feet\n#H07 LA South\n#H08 Bayou\n#H09 Acme\n#H10 FB-1\n#H10 FB-2\n#H11 P7\n#H12 0.9999\n#H13 Orleans\n"
      "#H14 Quad\n#H15 C-9\n#H16 1991\n#H17 +-0.1\n#H20 Levee\n#H21 Survey\n#H30 first\n#H31 second\n#H18 x\n");
  EXPECT_TRUE(errors_.empty());
  // At survey level the first "#H10" field book wins.
  ExpectTexts<ISurvey>(*s, {{&ISurvey::version, "EM09"}, {&ISurvey::OriginalFileName, "orig.txt"},
                            {&ISurvey::JobNumber, "J-123"}, {&ISurvey::SurveyOrder, ""},
                            {&ISurvey::HorizontalDatum, "NAD83"}, {&ISurvey::Units, "Feet"},
                            {&ISurvey::Projection, "LA South"}, {&ISurvey::Location, "Bayou"},
                            {&ISurvey::Contractor, "Acme"}, {&ISurvey::FieldBook, "FB-1"},
                            {&ISurvey::PageNumber, "P7"}, {&ISurvey::ParishName, "Orleans"},
                            {&ISurvey::QuadName, "Quad"}, {&ISurvey::ContractNumber, "C-9"},
                            {&ISurvey::HorizontalEpoch, "1991"}, {&ISurvey::HorizontalAccuracyClass, ""},
                            {&ISurvey::Title, "Levee Survey"}, {&ISurvey::Comments, "first second"}});
  EXPECT_EQ(s->SurveyStartDate(), Date(2023, 3, 1));
  EXPECT_EQ(s->SurveyDate(), Date(2023, 3, 1));
  EXPECT_EQ(s->SurveyEndDate(), Date(2023, 3, 5));
  EXPECT_DOUBLE_EQ(s->VerticalAccuracy(), 0.05);
  EXPECT_DOUBLE_EQ(s->CombinedScaleFactor(), 0.9999);
  EXPECT_DOUBLE_EQ(s->HorizontalAccuracy(), 0.1);
}

TEST_F(EMHeaderTest, DefaultsAndClassesInsteadOfAccuracies) {
  auto s = Read("#H05 J-1\n#H05\n#H03 First\n#H17 Second\n");
  EXPECT_EQ(s->JobNumber(), "");
  EXPECT_EQ(s->SurveyOrder(), "First");
  EXPECT_EQ(s->VerticalAccuracyClass(), "First");
  EXPECT_EQ(s->HorizontalAccuracyClass(), "Second");
  EXPECT_EQ(s->VerticalAccuracy(), kUndefinedNumber);
  EXPECT_EQ(s->HorizontalAccuracy(), kUndefinedNumber);
  EXPECT_EQ(s->CombinedScaleFactor(), 0);
  EXPECT_EQ(s->version(), "EM06");
  EXPECT_EQ(s->SurveyStartDate(), DateTime::Undefined());
}

TEST_F(EMHeaderTest, InvalidVersionAndBadNumbersAreReportedOnTheirLine) {
  auto s = Read("#H05 A\n#H00 EM07\n#H12 abc\n#H02 13/45/2020\n");
  EXPECT_EQ(s->version(), "INVALID_EM_VERSION");
  ASSERT_EQ(errors_.size(), 3u);
  EXPECT_EQ(errors_[0].text, "Invalid File Format Version : EM07");
  EXPECT_EQ(errors_[0].line, 2);
  EXPECT_EQ(errors_[0].severity, 1);
  EXPECT_EQ(errors_[1].text, "Invalid Numeric Value : abc");
  EXPECT_EQ(errors_[1].line, 3);
  EXPECT_EQ(s->CombinedScaleFactor(), kUndefinedNumber);
  EXPECT_EQ(errors_[2].text, "Invalid #H02 Record: Invalid Date Value : 13/45/2020");
  EXPECT_EQ(errors_[2].line, 4);
  // The failed date still becomes the current date: the end date is undefined.
  EXPECT_EQ(s->SurveyEndDate(), DateTime::Undefined());
}

TEST_F(EMHeaderTest, TabsSeparateLikeBlanksAndUnknownCodesAreSilent) {
  auto s = Read("#H05\tJ-9\n#Z01 whatever\n#Q\n#\n");
  EXPECT_EQ(s->JobNumber(), "J-9");
  EXPECT_TRUE(errors_.empty());
}

// A block of coordinates reports every problem with the number of the last
// line read for the block; the "#" record after it keeps its own number.
class EMLineBreakTest : public EMFileTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(EMLineBreakTest, LineNumbersAreTheSameForEveryLineBreak) {
  const std::string text =
      "#H05 A\n"                                   // 1
      "\n"                                         // 2
      "; comment\n"                                // 3
      "#X01 1000 2000 1100 2000 10+00 R-1\n"       // 4
      "P1 2000 1010 10\n"                          // 5
      "; comment inside the block\n"               // 6
      "P2 2000 1020 10\n"                          // 7
      "P3 x 1030 10\n"                             // 8
      "   \n"                                      // 9
      "#X02 Range 5\n"                             // 10
      "#X99\n"                                     // 11
      "#V02 1.0\n"                                 // 12
      "BAD\n";                                     // 13
  auto s = Read(text, GetParam());
  ASSERT_EQ(errors_.size(), 3u);
  EXPECT_EQ(errors_[0].text, "Non-Numeric Northing Value in Coordinate:P3 x 1030 10");
  EXPECT_EQ(errors_[0].line, 9);
  EXPECT_EQ(errors_[1].text, "Permanent benchmark record must be preceded by #V01 record : 1.0");
  EXPECT_EQ(errors_[1].line, 12);
  EXPECT_EQ(errors_[2].text, "Coordinate has less than the minimum # of attributes :BAD");
  EXPECT_EQ(errors_[2].line, 13);
  auto sections = Collect(s->CrossSections());
  ASSERT_EQ(sections.size(), 1u);
  EXPECT_EQ(sections[0]->RangeName(), "Range 5");
  EXPECT_EQ(sections[0]->Points()->Size(), 2);
}

INSTANTIATE_TEST_SUITE_P(Breaks, EMLineBreakTest, ::testing::Values("\r\n", "\n", "\r"),
                         [](const auto& info) {
                           return info.param == "\r\n" ? std::string("CRLF")
                                                       : info.param == "\n" ? std::string("LF") : std::string("CR");
                         });

using EMBadInputTest = EMFileTest;

TEST_F(EMBadInputTest, EmptyFileGivesAnEmptySurvey) {
  auto s = Read("");
  EXPECT_TRUE(errors_.empty());
  EXPECT_EQ(s->version(), "EM06");
  EXPECT_EQ(s->CrossSections()->Size(), 0);
  EXPECT_EQ(s->MiscShotPoints()->Size(), 0);
}

TEST_F(EMBadInputTest, AFileThatCannotBeOpenedIsOneErrorRecordWithTheReason) {
  std::filesystem::create_directories(dir_ / "folder.em");
  for (const auto& [name, why] : {std::pair{"nope.em", "No such file or directory"}, {"folder.em", "not a regular file"}}) {
    EMSurvey s;
    s.OpenSurvey((dir_ / name).string());
    auto errors = Drain(*s.Errors());
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].text, "Unable to open survey file : " + (dir_ / name).string() + " (" + why + ")");
    EXPECT_EQ(errors[0].line, -1);
  }
}

TEST_F(EMBadInputTest, BinaryGarbageNeverStopsTheRead) {
  std::mt19937 random(42);
  std::string bytes(200000, '\0');
  for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
  bytes += "\r\n#H05 after garbage\r\n";
  auto s = std::make_shared<EMSurvey>();
  s->OpenSurvey(Write("garbage.em", bytes));
  EXPECT_EQ(s->JobNumber(), "after garbage");
  auto errors = Drain(*s->Errors());
  EXPECT_FALSE(errors.empty());
  for (const auto& e : errors) EXPECT_TRUE(e.line == -1 || e.line >= 1);
}

TEST_F(EMBadInputTest, NulBytesStayInsideTheirLine) {
  const std::string badLine = std::string("P1 2000 1010 10\0junk", 20);
  const std::string bytes = "#M01 x\r\n" + badLine + "\r\n#H05 B\r\n";
  auto s = std::make_shared<EMSurvey>();
  s->OpenSurvey(Write("nul.em", bytes));
  auto errors = Drain(*s->Errors());
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].text, "Non-Numeric Elevation Value in Coordinate:" + badLine);
  EXPECT_EQ(errors[0].line, 2);
  EXPECT_EQ(s->JobNumber(), "B");
}

TEST_F(EMBadInputTest, TenMegabyteLineIsOneBadCoordinate) {
  const std::string longLine(10 * 1024 * 1024, 'A');
  std::string bytes = "#M01 x\r\n" + longLine + "\r\n#H05 C\r\nP1 2000 1010 10\r\n";
  auto s = std::make_shared<EMSurvey>();
  s->OpenSurvey(Write("long.em", bytes));
  auto errors = Drain(*s->Errors());
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].line, 2);
  EXPECT_EQ(errors[0].text, "Coordinate has less than the minimum # of attributes :" + longLine);
  EXPECT_EQ(s->JobNumber(), "C");
  EXPECT_EQ(s->MiscShotPoints()->Size(), 1);
}

TEST_F(EMBadInputTest, ManyCoordinatesWithoutAFeatureAreEachReported) {
  std::string bytes;
  const int kLines = 500000;
  bytes.reserve(kLines * 24);
  for (int i = 0; i < kLines; ++i) bytes += std::to_string(i) + " 3312345.6 712345.6 1.5\r\n";
  auto s = std::make_shared<EMSurvey>();
  s->OpenSurvey(Write("nofeature.em", bytes));
  auto errors = Drain(*s->Errors());
  ASSERT_EQ(errors.size(), static_cast<std::size_t>(kLines));
  EXPECT_EQ(errors.front().text, "Unexpected error, no data record available in which to put surveyed point");
  EXPECT_EQ(errors.front().line, kLines);
  EXPECT_EQ(errors.back().line, kLines);
}

TEST_F(EMBadInputTest, LineStartingWithTabIsACoordinateLine) {
  auto s = Read("#M01 x\n\tP1\t2000\t1010\t10\n");
  EXPECT_TRUE(errors_.empty());
  auto shots = Collect(s->MiscShotPoints());
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_EQ(shots[0]->Point()->PointTag(), "P1");
  EXPECT_DOUBLE_EQ(shots[0]->Point()->X(), 1010);
}

TEST_F(EMBadInputTest, ReadingAgainStartsFromScratch) {
  auto s = Read("#H05 A\n#H20 T\n#M01 x\nP1 2000 1010 10\n");
  auto first = s->MiscShotPoints();
  s->OpenSurvey(Write("second.em", "#H06 Feet\r\n"));
  EXPECT_EQ(s->JobNumber(), "");
  EXPECT_EQ(s->Title(), "");
  EXPECT_EQ(s->Units(), "Feet");
  EXPECT_EQ(s->MiscShotPoints()->Size(), 0);
  EXPECT_EQ(first->Size(), 1);  // an iterator handed out before keeps its items
}

}  // namespace
}  // namespace veldrane::test
