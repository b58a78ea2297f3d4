#pragma once
// Helpers for the EM reader tests: survey text written to a private temp
// folder with the chosen line breaks, and the error queue read back as
// plain records.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/features.h"
#include "readers/em/em_survey.h"
#include "tests/core/reader_test_support.h"
#include "tests/core/test_dates.h"

namespace veldrane::test {

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

class EMFileTest : public ScratchFileTest {
 protected:
  // Reads `text` (with "\n" breaks turned into `lineBreak`) from a file.
  std::shared_ptr<EMSurvey> Read(const std::string& text, const std::string& lineBreak = "\r\n",
                                 const std::string& name = "survey.em") {
    auto survey = std::make_shared<EMSurvey>();
    survey->OpenSurvey(Write(name, WithBreaks(text, lineBreak)));
    errors_ = Drain(*survey->Errors());
    return survey;
  }

  // The descriptions of the queued errors, in order.
  std::vector<std::string> Messages() const {
    std::vector<std::string> out;
    for (const auto& e : errors_) out.push_back(e.text);
    return out;
  }

  std::vector<Report> errors_;
};

template <class It>
auto Collect(It iterator) {
  std::vector<decltype(iterator->GetNext())> items;
  while (auto item = iterator->GetNext()) items.push_back(item);
  return items;
}

}  // namespace veldrane::test
