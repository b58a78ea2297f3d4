#pragma once
// Scratch files for the pathological-input tests: each test writes its
// generated input into its own temp folder and opens it through the survey
// factory, as every caller of the library does.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/features.h"
#include "readers/survey_factory.h"
#include "tests/core/reader_test_support.h"

namespace veldrane::test {

class PathologicalInputTest : public ScratchFileTest {
 public:
  using ScratchFileTest::Write;  // helpers outside the fixture write through it too
  std::shared_ptr<ISurvey> OpenSurvey(const std::string& name, const std::string& bytes) {
    auto survey = std::dynamic_pointer_cast<ISurvey>(OpenSurveyFile(Write(name, bytes)));
    EXPECT_NE(survey, nullptr);
    return survey;
  }
  std::shared_ptr<ITraverse> OpenTraverse(const std::string& name, const std::string& bytes) {
    auto traverse = std::dynamic_pointer_cast<ITraverse>(OpenSurveyFile(Write(name, bytes)));
    EXPECT_NE(traverse, nullptr);
    return traverse;
  }
};

}  // namespace veldrane::test
