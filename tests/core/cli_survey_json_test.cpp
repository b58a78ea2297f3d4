// The JSON view of the survey model that `veldrane dump` prints (and the
// reader tests compare through), on hand-made surveys. The member order is
// pinned end to end by the dump script (tests/scripts).
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/survey_json.h"
#include "model/constants.h"
#include "model/iterators.h"
#include "tests/core/fake_survey.h"
#include "tests/core/reader_test_support.h"
#include "tests/core/test_dates.h"

namespace veldrane {
namespace {

using test::Date;
using test::Json;
using test::SurveyFileToJson;
using test::SurveyPointToJson;

// The shared fake survey with a Baseline that queues a record the way a
// survey does when its baseline file is missing.
struct FakeSurvey : test::FakeSurvey {
  std::shared_ptr<ITraverse> baseline;
  double scale = 0.99994621;

  double CombinedScaleFactor() override { return scale; }
  std::shared_ptr<ITraverse> Baseline() override {
    errors->Push(std::make_shared<GenericSurveyError>("levee.em", 3, "Baseline File Not Found : x.bl", 1));
    return baseline;
  }
};

// Numbers go through the writer, whose output (non-finite numbers as null
// too) is compared with nlohmann's in cli_json_writer_test.cpp.
TEST(SurveyJsonTest, NumbersKeepEveryDigitAndIdsAreWholeNumbers) {
  FakeSurvey survey;
  survey.scale = 0.1 + 0.2;  // 0.30000000000000004: needs all 17 digits
  const auto text = Json(survey).dump();
  EXPECT_NE(text.find("\"CombinedScaleFactor\":0.30000000000000004"), std::string::npos) << text;
  auto point = test::MakePoint(3352012.25, 700104.5, 3.0, 150.0, kUndefinedPointId);
  EXPECT_NE(SurveyPointToJson(*point).dump().find("\"Id\":9999999,"), std::string::npos);
  EXPECT_TRUE(SurveyPointToJson(*point)["Z"].is_number_float());
}

// A consumer rewinds a collection with Initialize before walking it.
TEST(SurveyJsonTest, CollectionsAreReadFromTheFirstItemWhateverTheIteratorPosition) {
  struct Rewinding : FakeSurvey {
    std::shared_ptr<IVerticalControlIterator> VerticalControls() override { return it; }
    std::shared_ptr<IVerticalControlIterator> it;
  } survey;
  auto a = std::make_shared<test::FakeBenchmark>(), b = std::make_shared<test::FakeBenchmark>();
  a->name = "BM 1";
  b->name = "TBM 7";
  survey.it = std::make_shared<ListIterator<IVerticalControlIterator, IVerticalControl, 1>>(
      test::Items<IVerticalControl>{a, b});
  survey.it->GetNext();
  survey.it->GetNext();
  test::ExpectMembers(Json(survey)["VerticalControls"], R"([{"Name": "BM 1"}, {"Name": "TBM 7"}])");
}

TEST(SurveyJsonTest, TheDumpDrainsErrorsLastIncludingThoseQueuedWhileReading) {
  auto survey = std::make_shared<FakeSurvey>();
  survey->errors->Push(std::make_shared<GenericSurveyError>("levee.em", 40, "Invalid #X01 Start X", 1));
  auto baseline = std::make_shared<test::FakeTraverse>();
  baseline->points = {test::MakeTraversePoint(3351000.0, 700000.0, 0.0)};
  survey->baseline = baseline;
  const auto j = SurveyFileToJson("samples/levee.em", survey);
  test::ExpectMembers(j, R"({"file": "samples/levee.em", "kind": "survey",
      "survey": {"Baseline": {"TraversePoints": [{"Easting": 3351000, "Northing": 700000}]}},
      "errors": [{"Filename": "levee.em", "LineNumber": 40, "Description": "Invalid #X01 Start X", "severity": 1},
                 {"LineNumber": 3, "Description": "Baseline File Not Found : x.bl"}]})");
  EXPECT_TRUE(survey->errors->IsEmpty());

  auto traverse = std::make_shared<test::FakeTraverse>();
  traverse->errors->Push(std::make_shared<GenericSurveyError>("c.83", 14, "Unrecognized horizontal datum : X", 1));
  test::ExpectMembers(SurveyFileToJson("c.83", traverse),
                      R"({"kind": "traverse", "traverse": {"TraversePoints": []}, "errors": [{"LineNumber": 14}]})");
  EXPECT_THROW(SurveyFileToJson("x", test::MakePoint(0, 0, 0)), std::invalid_argument);
}

}  // namespace
}  // namespace veldrane
