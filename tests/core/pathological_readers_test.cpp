// Pathological input for every reader through the factory: empty files,
// NUL bytes, a 10 MB line, bytes that are not UTF-8, and a traverse of
// 100,000 stations.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/survey_json.h"
#include "tests/core/pathological_input_support.h"

namespace veldrane::test {
namespace {

// ".bl" is left out until the baseline reader is plugged into the factory
// (the factory raises "not supported yet" for it today).
const char* kExtensions[] = {"em", "cl", "830", "pro", "27", "83"};

using PathologicalReadersTest = PathologicalInputTest;

// Opens the bytes with every extension; the reader must return an object
// with nothing in it, and its error queue must drain.
void ExpectEmpty(PathologicalInputTest& test, const std::string& bytes, const char* what) {
  for (const char* ext : kExtensions) {
    SCOPED_TRACE(std::string(what) + " as ." + ext);
    auto object = OpenSurveyFile(test.Write(std::string("input.") + ext, bytes));
    ASSERT_NE(object, nullptr);
    if (auto survey = std::dynamic_pointer_cast<ISurvey>(object)) {
      EXPECT_EQ(survey->CrossSections()->Size(), 0);
      EXPECT_EQ(survey->ProfileCenterlines()->Size(), 0);
      EXPECT_EQ(survey->MiscShotPoints()->Size(), 0);
      EXPECT_EQ(survey->Areas()->Size(), 0);
      while (!survey->Errors()->IsEmpty()) survey->Errors()->Pop();
    } else {
      auto traverse = std::dynamic_pointer_cast<ITraverse>(object);
      ASSERT_NE(traverse, nullptr);
      EXPECT_EQ(traverse->TraversePoints()->Size(), 0);
      while (!traverse->Errors()->IsEmpty()) traverse->Errors()->Pop();
    }
  }
}

TEST_F(PathologicalReadersTest, EmptyFileGivesAnEmptyResultInEveryReader) { ExpectEmpty(*this, "", "empty"); }

TEST_F(PathologicalReadersTest, FileOfNulBytesGivesAnEmptyResultInEveryReader) {
  ExpectEmpty(*this, std::string(64 * 1024, '\0'), "NUL bytes");
}

TEST_F(PathologicalReadersTest, TenMegabyteLineIsReadPastInEveryReader) {
  // One 10 MB line of text between two ordinary lines: no reader may stop at
  // it; the EM reader still finds the section declared after it.
  const std::string longLine = "; " + std::string(10 * 1024 * 1024, 'x') + "\n";
  ExpectEmpty(*this, longLine, "10 MB line");
  auto survey = OpenSurvey("long.em", "#H00 EM09\n" + longLine +
                                          "#X01 0 0 100 0 1+00 R1\n1,10,0,1,GND\n2,20,0,2,GND\n");
  ASSERT_NE(survey, nullptr);
  ASSERT_EQ(survey->CrossSections()->Size(), 1);
  EXPECT_EQ(survey->CrossSections()->GetItem(0)->Points()->Size(), 2);
  EXPECT_DOUBLE_EQ(survey->CrossSections()->GetItem(0)->Station(), 100.0);
}

TEST_F(PathologicalReadersTest, BytesThatAreNotUtf8StayValidUtf8InTheDumpJson) {
  // Windows-1252 "é" (0xE9), a lone continuation byte, a truncated 3-byte
  // sequence and an overlong "/" in names, descriptions and codes.
  const std::string bad = "Caf\xE9 \x80 \xE2\x82 \xC0\xAF";
  const std::string text = "#H00 EM09\n#H08 " + bad + "\n#X01 0 0 100 0 1+00 " + bad + "\n#X12 " + bad +
                           "\n1,10,0,1," + bad + "\n2,20,0,2,GND\n";
  const std::string path = Write("latin.em", text);
  // The strict parser throws on invalid UTF-8.
  const auto back = nlohmann::ordered_json::parse(SurveyFileJsonText(path, OpenSurveyFile(path), false));
  const auto& section = back["survey"]["CrossSections"][0];
  EXPECT_EQ(section["AltName"].get<std::string>().rfind("Caf\xC3\xA9 ", 0), 0u) << section["AltName"];
  EXPECT_EQ(back["survey"]["Location"].get<std::string>().rfind("Caf\xC3\xA9 ", 0), 0u);
}

TEST_F(PathologicalReadersTest, TraverseOfHundredThousandStationsKeepsThemAllInOrder) {
  // The 25-line header and the first four-line station group of the sample
  // report; the group is repeated with its station name (line 2, columns
  // 1-13) and id (line 1, columns 2-4) renumbered.
  std::ifstream sample(std::string(VELDRANE_SOURCE_DIR) + "/samples/control.83", std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; lines.size() < 29 && std::getline(sample, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  ASSERT_EQ(lines.size(), 29u);
  ASSERT_EQ(lines[25].substr(0, 5), "(001)");
  constexpr int kStations = 100000;
  std::string text;
  text.reserve(kStations * 420);
  for (int i = 0; i < 25; ++i) text += lines[static_cast<std::size_t>(i)] + "\r\n";
  for (int i = 0; i < kStations; ++i) {
    char id[8], name[16];
    std::snprintf(id, sizeof id, "(%03d)", i % 1000);
    std::snprintf(name, sizeof name, "%-15s", (std::to_string(i) + "+00.00").c_str());
    text += id + lines[25].substr(5) + "\r\n";
    text += name + lines[26].substr(15) + "\r\n";
    text += lines[27] + "\r\n" + lines[28] + "\r\n";
  }
  auto traverse = OpenTraverse("long.83", text);
  ASSERT_NE(traverse, nullptr);
  auto points = traverse->TraversePoints();
  ASSERT_EQ(points->Size(), kStations);
  EXPECT_EQ(points->GetItem(0)->StationName(), "0+00.00");
  EXPECT_EQ(points->GetItem(kStations - 1)->StationName(), std::to_string(kStations - 1) + "+00.00");
  EXPECT_EQ(points->GetItem(kStations - 1)->TraversePointId(), (kStations - 1) % 1000);
  EXPECT_DOUBLE_EQ(points->GetItem(kStations - 1)->Station(), (kStations - 1) * 100.0);
  // Every group carries the sample's first station's coordinates.
  EXPECT_DOUBLE_EQ(points->GetItem(kStations / 2)->Northing(), points->GetItem(0)->Northing());
  for (std::int32_t i = 1; i < points->Size(); ++i) {
    ASSERT_GT(points->GetItem(i)->Station(), points->GetItem(i - 1)->Station()) << "at " << i;
  }
}

}  // namespace
}  // namespace veldrane::test
