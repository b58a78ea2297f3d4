#pragma once
// Helpers for the EM reader tests: survey text written to a private temp
// folder with the chosen line breaks, and the error queue read back as
// plain records.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "model/features.h"
#include "readers/em/em_survey.h"

namespace veldrane::test {

struct QueuedError {
  std::string description;
  std::int32_t line;
  std::int32_t severity;
};

// Empties the queue, oldest first.
inline std::vector<QueuedError> DrainErrors(ISurveyErrorQueue& queue) {
  std::vector<QueuedError> out;
  while (!queue.IsEmpty()) {
    auto e = queue.Pop();
    out.push_back({e->Description(), e->LineNumber(), e->severity()});
  }
  return out;
}

// Survey text is written with "\n" in the tests; files get CR LF unless
// another break is asked for.
inline std::string WithBreaks(const std::string& text, const std::string& lineBreak) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += lineBreak;
    else out.push_back(c);
  }
  return out;
}

class EMFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           ("veldrane_em_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" +
            std::to_string(::getpid()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string WriteFile(const std::string& name, const std::string& bytes) {
    const auto path = dir_ / name;
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return path.string();
  }

  // Reads `text` (with "\n" breaks turned into `lineBreak`) from a file.
  std::shared_ptr<EMSurvey> Read(const std::string& text, const std::string& lineBreak = "\r\n",
                                 const std::string& name = "survey.em") {
    auto survey = std::make_shared<EMSurvey>();
    survey->OpenSurvey(WriteFile(name, WithBreaks(text, lineBreak)));
    errors_ = DrainErrors(*survey->Errors());
    return survey;
  }

  // The descriptions of the queued errors, in order.
  std::vector<std::string> Messages() const {
    std::vector<std::string> out;
    for (const auto& e : errors_) out.push_back(e.description);
    return out;
  }

  std::filesystem::path dir_;
  std::vector<QueuedError> errors_;
};

template <class It>
auto Collect(It iterator) {
  std::vector<decltype(iterator->GetNext())> items;
  while (auto item = iterator->GetNext()) items.push_back(item);
  return items;
}

}  // namespace veldrane::test
