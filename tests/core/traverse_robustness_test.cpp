// Damaged and hostile input for the traverse reader.
#include <gtest/gtest.h>

#include <string>

#include "readers/traverse/tessel_traverse.h"
#include "tests/core/reader_test_support.h"

namespace veldrane {
namespace {

class TraverseRobustnessTest : public test::ScratchFileTest {
 protected:
  std::shared_ptr<TesselTraverse> Open(const std::string& text) {
    const auto path = Write("damaged.83", text);
    auto traverse = std::make_shared<TesselTraverse>();
    EXPECT_NO_THROW(traverse->OpenTraverse(path));
    return traverse;
  }
  static void Touch(ITraverse& traverse) {
    auto points = traverse.TraversePoints();
    while (auto p = points->GetNext()) {
      p->Station();
      p->StationName();
    }
    traverse.TraverseDate();
    while (!traverse.Errors()->IsEmpty()) traverse.Errors()->Pop();
  }
};

TEST_F(TraverseRobustnessTest, EmptyFileHasNothingToReport) {
  auto traverse = Open("");
  EXPECT_EQ(traverse->TraversePoints()->Size(), 0);
  EXPECT_EQ(traverse->HorizontalDatum(), "");
  EXPECT_TRUE(traverse->Errors()->IsEmpty());
}

TEST_F(TraverseRobustnessTest, GroupsOfShortLinesAndNulBytesAreRead) {
  std::string text(25, '\n');
  text += "(1)\n(\n\n\n";                              // ")" not in column 5: no station
  auto none = Open(text);
  EXPECT_EQ(none->TraversePoints()->Size(), 0);
  std::string groups(25, '\n');
  groups += "(001)\n\n\n\n";
  groups += std::string("(002)\0\0\0", 8) + "\n" + std::string(200, '\0') + "\n\t\t\n\n";
  groups += "(003)";
  auto traverse = Open(groups);
  EXPECT_EQ(traverse->TraversePoints()->Size(), 3);
  Touch(*traverse);
}

}  // namespace
}  // namespace veldrane
