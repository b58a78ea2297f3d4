// The whole road from a folder to rows, through the real readers: the
// factory helper opens the folder, the workspace lists and opens the file,
// the dataset reads it once and serves its classes.
#include <gtest/gtest.h>

#include "config/error_log.h"
#include "plugin/svy_workspace_factory_helper.h"
#include "tests/gdal/host_test_support.h"

namespace veldrane {
namespace {

// Two cross sections along x; coordinate lines are id, northing, easting,
// elevation, code. The first section's points are written out of station
// order.
const char* const kLevee =
    "#H00 EM06\r\n"
    "#H02 3/14/2011\r\n"
    "#H04 NAD83\r\n"
    "#H06 FEET\r\n"
    "#X01 0 0 100 0 0+00 XS 1\r\n"
    "1,0,10,5.5,GND\r\n"
    "2,1,40,6.0,TOE\r\n"
    "3,-1,25,4.0,GND\r\n"
    "#X01 0 50 100 50 1+00 XS 2\r\n"
    "4,50,20,3.0,GND\r\n"
    "5,50,80,3.5,GND\r\n"
    "6,abc,20,3.0,GND\r\n";

class SurveyFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_.Write("levee job.em", kLevee);
    workspace_ = factory_.OpenWorkspace(folder_.Path().string());
    dataset_ = workspace_->OpenDataset("levee job.em");
  }

  std::vector<std::int32_t> Column(IPlugInCursorHelper& cursor, const std::string& name, RowBuffer& row) {
    const std::int32_t pos = row.FieldSet()->FindField(name);
    std::vector<std::int32_t> values;
    while (!cursor.IsFinished()) {
      cursor.QueryValues(row);
      values.push_back(row.Value(pos).kind == RowValue::Kind::Double ? static_cast<std::int32_t>(row.Value(pos).number)
                                                                    : row.Value(pos).integer);
      try {
        cursor.NextRecord();
      } catch (const RaisedError&) {
      }
    }
    return values;
  }

  test::RecordingNotifier notes_;
  test::ScratchFolder folder_{"survey_files"};
  SvyWorkspaceFactoryHelper factory_;
  std::shared_ptr<IPlugInWorkspaceHelper> workspace_;
  std::shared_ptr<IPlugInDatasetHelper> dataset_;
};

TEST_F(SurveyFiles, ClassesAndRowsComeFromTheFile) {
  ASSERT_EQ(dataset_->ClassCount(), 2);
  EXPECT_EQ(dataset_->ClassName(0), "levee job.em CrossSections");
  EXPECT_EQ(dataset_->ClassName(1), "levee job.em CrossSectionPoints");

  auto fields = dataset_->GetFields(1);
  ASSERT_NE(fields, nullptr);
  RowBuffer row(fields);
  const FieldMap all = FieldMap::AllValues(static_cast<std::size_t>(fields->FieldCount()));
  EXPECT_EQ(Column(*dataset_->FetchAll(1, "", all), "PointId", row), (std::vector<std::int32_t>{1, 3, 2, 4, 5}));
  EXPECT_EQ(Column(*dataset_->FetchAll(1, "", all), "CrossSectionOID", row),
            (std::vector<std::int32_t>{0, 0, 0, 1, 1}));
  EXPECT_EQ(Column(*dataset_->FetchAll(1, "", all), "RangeStartOffset", row),
            (std::vector<std::int32_t>{10, 25, 40, 20, 80}));
  EXPECT_EQ(test::CollectOids(*dataset_->FetchByEnvelope(1, Envelope(15, -5, 30, 60), false, "", all), row),
            (std::vector<std::int32_t>{0, 1, 3}));
}

}  // namespace
}  // namespace veldrane
