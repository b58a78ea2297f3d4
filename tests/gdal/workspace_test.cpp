// Workspaces on real folders: recognising them, listing and opening their
// datasets, and the file operations on a dataset.
#include <gtest/gtest.h>

#include <algorithm>

#include "config/error_log.h"
#include "plugin/catalog_refresh.h"
#include "plugin/svy_dataset_helper.h"
#include "plugin/svy_workspace_factory_helper.h"
#include "plugin/svy_workspace_helper.h"
#include "tests/core/fake_survey.h"
#include "tests/gdal/host_test_support.h"

namespace veldrane {
namespace {

using test::ScratchFolder;

// Reads nothing from disk: every survey file is the same small survey.
SurveySource FakeSource() {
  auto survey = std::make_shared<test::FakeSurvey>();
  survey->gages = {std::make_shared<test::FakeGage>()};
  auto traverse = std::make_shared<test::FakeTraverse>();
  return SurveySource{[survey](const std::string&) -> std::shared_ptr<ISurvey> { return survey; },
                      [traverse](const std::string&) -> std::shared_ptr<ITraverse> { return traverse; },
                      [](auto&&...) { return 0; }};
}

class Workspaces : public ::testing::Test {
 protected:
  std::string Folder() const { return folder_.Path().string(); }
  std::string Full(const std::string& name) const { return (folder_.Path() / name).string(); }

  ScratchFolder folder_{"workspace"};
  test::RecordingNotifier notes_;
  SvyWorkspaceFactoryHelper factory_{FakeSource()};
};

// A folder is a workspace when it holds a survey file (any case of the
// extension). Given the folder's list, the factory claims the survey files
// and the metadata files of survey files, and leaves the rest.
TEST(WorkspaceFactory, SurveyFilesMakeAWorkspaceAndAreClaimedWithTheirMetadata) {
  struct Case {
    std::vector<std::string> files;
    bool workspace;
    std::vector<std::string> left;  // of the folder's list, after the claim
  } cases[] = {
      {{"A.EM"}, true, {}},
      {{"levee.830", "b.txt"}, true, {"b.txt"}},
      {{"x.em", "x.em.xml", "y.txt"}, true, {"y.txt"}},
      {{"notes.txt", "notes.txt.xml"}, false, {"notes.txt"}},  // a metadata file is claimed all the same
      {{"a.em.xml", "notes.txt", "survey.em/"}, false, {"a.em.xml", "notes.txt", "survey.em"}},
  };
  SvyWorkspaceFactoryHelper factory{FakeSource()};
  for (const Case& c : cases) {
    ScratchFolder folder("workspace");
    for (const std::string& name : c.files) {
      if (name.ends_with('/')) std::filesystem::create_directory(folder.Path() / name);
      else folder.Write(name, "");
    }
    const std::string path = folder.Path().string();
    SCOPED_TRACE(c.files.front());
    EXPECT_EQ(factory.IsWorkspace(path), c.workspace);
    EXPECT_EQ(factory.GetWorkspaceString(path, nullptr), c.workspace ? path : "");
    EXPECT_EQ(factory.ContainsWorkspace(path, nullptr), c.workspace);
    FileNames names = FileNames::FromFolder(folder.Path());
    EXPECT_EQ(factory.GetWorkspaceString(path, &names), c.workspace ? path : "");
    std::vector<std::string> left;
    for (const std::string& name : names.Names()) left.push_back(std::filesystem::path(name).filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, c.left);
  }
  EXPECT_FALSE(factory.IsWorkspace("/nonexistent/folder"));
  EXPECT_EQ(factory.GetWorkspaceString("/nonexistent/folder", nullptr), "");
}

TEST_F(Workspaces, ContainsWorkspaceReadsOnFromTheCurrentPosition) {
  folder_.Write("a.em", "");
  folder_.Write("b.txt", "");
  FileNames names = FileNames::FromFolder(folder_.Path());
  EXPECT_TRUE(factory_.ContainsWorkspace(Folder(), &names));
  while (!names.Next().empty()) {
  }
  EXPECT_FALSE(factory_.ContainsWorkspace(Folder(), &names));
  EXPECT_EQ(names.Count(), 2u);  // nothing removed
  FileNames elsewhere = FileNames::FromFolder(folder_.Path());
  EXPECT_FALSE(factory_.ContainsWorkspace(Full("missing"), &elsewhere));
}

std::vector<std::string> Listed(IPlugInWorkspaceHelper& workspace, std::int32_t type) {
  std::vector<std::string> names;
  const auto list = workspace.DatasetNames(type);
  for (std::int32_t i = 0; i < list->Count(); ++i) names.push_back(list->Element(i)->LocalDatasetName());
  return names;
}

TEST_F(Workspaces, DatasetNamesListTheSurveyFilesAsFeatureDatasets) {
  for (const char* name : {"a.em", "b.27", "c.xml", "d.txt", "my survey.v2.CL"}) folder_.Write(name, "");
  const auto workspace = factory_.OpenWorkspace(Folder());
  const std::vector<std::string> both = {"a.em", "b.27", "my survey.v2.CL"};
  EXPECT_EQ(Listed(*workspace, 1), both);
  EXPECT_EQ(Listed(*workspace, 4), both);
  EXPECT_TRUE(Listed(*workspace, 5).empty());
  const auto list = workspace->DatasetNames(1);
  EXPECT_EQ(dynamic_cast<SvyDatasetHelper&>(*list->Element(1)).SurveyType(), 1001);
  EXPECT_EQ(dynamic_cast<SvyDatasetHelper&>(*list->Element(0)).SurveyType(), 1000);
}

// --- file operations ---------------------------------------------------------

class DatasetFiles : public Workspaces {
 protected:
  std::shared_ptr<SvyDatasetHelper> Open(const std::string& name) {
    const auto workspace = factory_.OpenWorkspace(Folder());
    return std::dynamic_pointer_cast<SvyDatasetHelper>(workspace->OpenDataset(name));
  }
};

TEST_F(DatasetFiles, CopyTakesTheMetadataAlongAndAvoidsNameClashes) {
  folder_.Write("a.em", "survey");
  folder_.Write("a.em.xml", "<m/>");
  ScratchFolder target("copy_target");
  const auto dataset = Open("a.em");
  dataset->Copy("ignored", HostWorkspace(target.Path().string()));
  EXPECT_EQ(test::ReadFile(target.Path() / "a.em"), "survey");
  EXPECT_EQ(test::ReadFile(target.Path() / "a.em.xml"), "<m/>");

  dataset->Copy("ignored", HostWorkspace(target.Path().string()));
  EXPECT_EQ(test::ReadFile(target.Path() / "aCopy.em"), "survey");
  EXPECT_EQ(test::ReadFile(target.Path() / "aCopy.em.xml"), "<m/>");

  target.Write("aCopy.em", "older copy");
  std::filesystem::remove(target.Path() / "aCopy.em.xml");
  dataset->Copy("ignored", HostWorkspace(target.Path().string()));
  EXPECT_EQ(test::ReadFile(target.Path() / "aCopy.em"), "older copy");
  EXPECT_FALSE(std::filesystem::exists(target.Path() / "aCopy.em.xml"));
  EXPECT_TRUE(notes_.reports.empty());
}

TEST_F(DatasetFiles, RenameMovesBothFilesAndRenamesTheClasses) {
  folder_.Write("a.em", "survey");
  folder_.Write("a.em.xml", "<m/>");
  std::vector<std::string> refreshed;
  SetCatalogRefreshHook([&](const std::string& from, const std::string& to) { refreshed = {from, to}; });
  const auto dataset = Open("a.em");
  ASSERT_EQ(dataset->ClassName(0), "a.em Gages");
  EXPECT_EQ(dataset->Rename("b.em"), "b.em");
  SetCatalogRefreshHook(nullptr);
  EXPECT_EQ(test::ReadFile(folder_.Path() / "b.em"), "survey");
  EXPECT_EQ(test::ReadFile(folder_.Path() / "b.em.xml"), "<m/>");
  EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "a.em"));
  EXPECT_EQ(dataset->ClassName(0), "b.em Gages");
  EXPECT_EQ(dataset->ClassIndex("b.em Gages"), 0);
  EXPECT_EQ(refreshed, (std::vector<std::string>{Full("a.em"), Full("b.em")}));
}

TEST_F(DatasetFiles, RenameOntoAnExistingNameLeavesTheFilesButTakesTheName) {
  folder_.Write("a.em", "first");
  folder_.Write("a.em.xml", "<first/>");
  folder_.Write("b.em", "second");
  const auto dataset = Open("a.em");
  EXPECT_EQ(dataset->Rename("b.em"), "b.em");
  EXPECT_EQ(test::ReadFile(folder_.Path() / "a.em"), "first");
  EXPECT_EQ(test::ReadFile(folder_.Path() / "a.em.xml"), "<first/>");
  EXPECT_EQ(test::ReadFile(folder_.Path() / "b.em"), "second");
  EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "b.em.xml"));
  EXPECT_EQ(dataset->LocalDatasetName(), "b.em");
  EXPECT_TRUE(notes_.reports.empty());
}

}  // namespace
}  // namespace veldrane
