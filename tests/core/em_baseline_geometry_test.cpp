// Cross sections measured against a baseline.
#include <gtest/gtest.h>

#include "model/constants.h"
#include "tests/core/em_test_support.h"
#include "tests/core/fake_survey.h"

namespace veldrane::test {
namespace {

using EMBaselineGeometryTest = EMFileTest;

TEST_F(EMBaselineGeometryTest, CrossSectionsGetTheirCrossingAndPointOffsets) {
  // A baseline along y = 50; one range line crossing it at x = 20, one
  // parallel to it.
  auto baseline = std::make_shared<FakeTraverse>();
  baseline->points = {MakeTraversePoint(0, 50, 1000), MakeTraversePoint(100, 50, 1100)};
  auto s = Read("#X01 20 0 20 100 0 Across\n1 10 20 1\n2 70 20 1\n#X01 0 60 100 60 0 Along\n1 60 10 1\n2 60 20 1\n");
  ASSERT_TRUE(errors_.empty());
  s->UpdateCrossSections(baseline);
  auto errors = Drain(*s->Errors());
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].text, "Cross-section (Along) does not intersect baseline");
  EXPECT_EQ(errors[0].line, -1);
  EXPECT_EQ(errors[0].severity, 0);
  auto sections = Collect(s->CrossSections());
  ASSERT_EQ(sections.size(), 2u);
  EXPECT_DOUBLE_EQ(sections[0]->BaselineIntersectX(), 20);
  EXPECT_DOUBLE_EQ(sections[0]->BaselineIntersectY(), 50);
  auto points = Collect(sections[0]->Points());
  ASSERT_EQ(points.size(), 2u);
  EXPECT_DOUBLE_EQ(points[0]->Station(), 10);
  EXPECT_DOUBLE_EQ(points[0]->BaselineOffset(), -40);
  EXPECT_DOUBLE_EQ(points[1]->BaselineOffset(), 20);
  EXPECT_EQ(sections[1]->BaselineIntersectX(), kUndefinedNumber);
  EXPECT_EQ(Collect(sections[1]->Points())[0]->BaselineOffset(), kUndefinedNumber);
}

}  // namespace
}  // namespace veldrane::test
