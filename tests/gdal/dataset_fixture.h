#pragma once
// A dataset helper over an in-memory survey or traverse, driven as a host
// drives it.
#include <memory>
#include <string>

#include "host/row_buffer.h"
#include "plugin/svy_dataset_helper.h"
#include "tests/core/fake_survey.h"
#include "tests/gdal/host_test_support.h"

namespace veldrane::test {

struct SurveyDataset {
  explicit SurveyDataset(std::string name = "a.em", std::string folder = "/nonexistent/folder")
      : helper(SurveySource{[this](const std::string&) -> std::shared_ptr<ISurvey> {
                              ++reads;
                              return survey;
                            },
                            [this](const std::string&) -> std::shared_ptr<ITraverse> {
                              ++reads;
                              return traverse;
                            },
                            [](auto&&...) { return 0; }}) {
    helper.SetDatasetName(std::move(name));
    helper.SetWorkspacePath(std::move(folder));
    helper.SetSurveyType(kSurveyTypeSurvey);
  }
  // The reading functions point back at this object.
  SurveyDataset(const SurveyDataset&) = delete;
  SurveyDataset& operator=(const SurveyDataset&) = delete;

  // A row buffer with every field of the class, and a map asking for all.
  std::shared_ptr<RowBuffer> Row(std::int32_t classIndex) {
    auto fields = helper.GetFields(classIndex);
    return std::make_shared<RowBuffer>(fields);
  }
  FieldMap AllOf(std::int32_t classIndex) {
    return FieldMap::AllValues(static_cast<std::size_t>(helper.GetFields(classIndex)->FieldCount()));
  }
  std::shared_ptr<IPlugInCursorHelper> All(std::int32_t classIndex) {
    return helper.FetchAll(classIndex, "", AllOf(classIndex));
  }
  std::shared_ptr<IPlugInCursorHelper> In(std::int32_t classIndex, const Envelope& box) {
    return helper.FetchByEnvelope(classIndex, box, false, "", AllOf(classIndex));
  }
  // Position of the named field in the class's row.
  std::int32_t Pos(std::int32_t classIndex, const std::string& name) {
    return helper.GetFields(classIndex)->FindField(name);
  }

  std::shared_ptr<FakeSurvey> survey = std::make_shared<FakeSurvey>();
  std::shared_ptr<FakeTraverse> traverse;
  int reads = 0;
  SvyDatasetHelper helper;
};

inline std::shared_ptr<FakeCrossSection> SectionAlongX(std::initializer_list<double> xs, double y = 0,
                                                       std::int32_t firstId = 1) {
  auto section = std::make_shared<FakeCrossSection>();
  section->startX = -1000;
  section->startY = y;
  section->stopX = 1000;
  section->stopY = y;
  std::int32_t id = firstId;
  for (const double x : xs) section->points.push_back(MakePoint(x, y, 10, x + 1000, id++));
  return section;
}

}  // namespace veldrane::test
