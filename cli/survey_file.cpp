#include "cli/survey_file.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <ostream>
#include <stdexcept>
#include <system_error>

#include "cli/command.h"
#include "config/file_system.h"
#include "model/features.h"
#include "model/text.h"
#include "readers/survey_factory.h"

namespace veldrane::cli {
namespace fs = std::filesystem;

namespace {

// Why a path cannot be read as a survey file, or empty when it can.
std::string ReadabilityProblem(const std::string& path) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) return "is a folder, not a survey file";
  return RegularFileProblem(path);
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
  if (why.rfind(path, 0) == 0) return ShownName(path) + ToValidUtf8(std::string_view(why).substr(path.size()));
  return ShownName(path) + ": " + ToValidUtf8(why);
}

int ReportUnreadable(const std::string& command, const std::string& path, std::ostream& err) {
  std::error_code ec;
  if (!fs::is_directory(path, ec)) {
    const std::string why = RegularFileProblem(path);
    if (why.empty()) return kExitOk;
    err << "veldrane " << command << ": " << DescribeProblem(path, why) << '\n';
    return kExitUnreadable;
  }
  std::vector<std::string> files;
  try {
    files = ListSurveyFiles(path);
  } catch (const std::exception& e) {
    err << "veldrane " << command << ": " << DescribeProblem(path, e.what()) << '\n';
    return kExitUnreadable;
  }
  int status = kExitOk;
  for (const std::string& file : files) {
    const std::string why = RegularFileProblem(file);
    if (why.empty()) continue;
    err << "veldrane " << command << ": left out " << DescribeProblem(file, why) << '\n';
    status = kExitDataErrors;
  }
  return status;
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
      problems.push_back(DescribeProblem(path, e.what()));
    }
  }
  return files;
}

}  // namespace veldrane::cli
