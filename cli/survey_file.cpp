#include "cli/survey_file.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "model/features.h"
#include "readers/survey_factory.h"

namespace veldrane::cli {
namespace fs = std::filesystem;

namespace {

// Why a path cannot be read as a survey file, or empty when it can.
std::string ReadabilityProblem(const std::string& path) {
  std::error_code ec;
  const auto status = fs::status(path, ec);
  if (ec || !fs::exists(status)) return "no such file";
  if (fs::is_directory(status)) return "is a folder, not a survey file";
  std::ifstream probe(path, std::ios::binary);
  if (!probe) return "cannot be opened for reading";
  return {};
}

}  // namespace

OpenedSurveyFile OpenForReading(const std::string& path) {
  OpenedSurveyFile result;
  result.problem = ReadabilityProblem(path);
  if (!result.problem.empty()) return result;
  try {
    result.object = OpenSurveyFile(path);
    if (!result.object) result.problem = "no reader produced a survey for it";
  } catch (const RaisedError& e) {
    result.problem = e.Description();
  } catch (const std::exception& e) {
    result.problem = std::string("reading failed: ") + e.what();
  }
  return result;
}

namespace {

template <class Iterator, class Visit>
void Each(const std::shared_ptr<Iterator>& items, Visit visit) {
  if (!items) return;
  items->Initialize();
  while (const auto item = items->GetNext()) visit(*item);
}

void ComputeSurveyMembers(ISurvey& survey) {
  Each(survey.CrossSections(), [](ICrossSection& section) { section.Points(); });
  Each(survey.ProfileCenterlines(), [](IProfileCenterline& profile) { profile.Points(); });
  survey.VerticalControls();
  survey.Gages();
  survey.Baseline();
}

}  // namespace

void ComputeDerivedMembers(IInterface& object) {
  try {
    if (auto* survey = dynamic_cast<ISurvey*>(&object)) ComputeSurveyMembers(*survey);
    if (auto* traverse = dynamic_cast<ITraverse*>(&object)) traverse->TraversePoints();
  } catch (const std::exception&) {
    // What was queued so far is still reported; a computation that fails
    // outright has reported itself through the notifier or the queue.
  }
}

std::string DescribeProblem(const std::string& path, const std::string& problem) {
  const std::string why = problem.empty() ? "not a survey or traverse" : problem;
  if (why.rfind(path, 0) == 0) return why;
  return path + ": " + why;
}

std::shared_ptr<ISurveyErrorQueue> ErrorQueueOf(const std::shared_ptr<IInterface>& object) {
  if (auto survey = std::dynamic_pointer_cast<ISurvey>(object)) return survey->Errors();
  if (auto traverse = std::dynamic_pointer_cast<ITraverse>(object)) return traverse->Errors();
  return nullptr;
}

std::vector<std::string> ListSurveyFiles(const std::string& folder) {
  std::vector<fs::path> found;
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) throw std::runtime_error("cannot list folder: " + ec.message());
  for (const fs::directory_iterator end; it != end; it.increment(ec)) {
    std::error_code kind;
    if (it->is_directory(kind)) continue;
    const auto name = it->path().string();
    if (IsValidSurveyFile(name)) found.push_back(it->path());
  }
  if (ec) throw std::runtime_error("cannot list folder: " + ec.message());
  std::sort(found.begin(), found.end(),
            [](const fs::path& a, const fs::path& b) { return a.filename().string() < b.filename().string(); });
  std::vector<std::string> files;
  files.reserve(found.size());
  for (const auto& p : found) files.push_back(p.string());
  return files;
}

std::vector<std::string> ExpandSurveyPaths(const std::vector<std::string>& paths, std::vector<std::string>& problems) {
  std::vector<std::string> files;
  for (const auto& path : paths) {
    std::error_code ec;
    if (!fs::is_directory(path, ec)) {
      files.push_back(path);
      continue;
    }
    try {
      const auto listed = ListSurveyFiles(path);
      files.insert(files.end(), listed.begin(), listed.end());
    } catch (const std::exception& e) {
      problems.push_back(path + ": " + e.what());
    }
  }
  return files;
}

}  // namespace veldrane::cli
