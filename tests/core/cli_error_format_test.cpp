// The one-line text of error records (check output, driver warnings, the
// catalog's error log) and the summary of `veldrane check`.
#include <gtest/gtest.h>

#include "cli/error_format.h"
#include "config/error_log.h"

namespace veldrane::cli {
namespace {

TEST(ErrorFormatTest, OneRecordIsOneLineWithTheFileNamedAsOnDisk) {
  struct Case {
    const char* file;
    int line;
    int severity;
    const char* description;
    const char* expected;
  };
  const Case cases[] = {
      {"a.em", -1, 0, "No baseline", "a.em: warning: No baseline"},
      {"a.em", 0, 1, "Whole file", "a.em: error: Whole file"},
      {"s/b.em", 1, 2, "First line", "s/b.em:1: fatal: First line"},
      // Severities out of range take the nearest word.
      {"a.em", 2, -3, "Low", "a.em:2: warning: Low"},
      {"a.em", 3, 7, "High", "a.em:3: fatal: High"},
      {"a.em", 5, 1, "Two\r\nlines\rand\nmore", "a.em:5: error: Two  lines and more"},
      // Control characters and bytes that are not UTF-8 escaped in the name,
      // a Windows-1252 description converted.
      {"caf\xE9.em", 5, 1, "68\xB0", "caf\\xE9.em:5: error: 68\xC2\xB0"},
      {"a\nb\\c\x1B\t.em", 1, 1, "x", "a\\nb\\\\c\\x1B\\t.em:1: error: x"},
      {"caf\xC3\xA9 \xC2\x9B.em", 1, 0, "x", "caf\xC3\xA9 \\xC2\\x9B.em:1: warning: x"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatErrorLine(c.file, c.line, c.severity, c.description), c.expected) << c.expected;
}

TEST(ErrorFormatTest, SummaryCountsWithSingularAndPlural) {
  EXPECT_EQ(FormatCheckSummary(1, 1, 1, 0), "1 file checked: 1 error, 1 warning");
  EXPECT_EQ(FormatCheckSummary(0, 0, 0, 1), "0 files checked: 0 errors, 0 warnings, 1 path could not be read");
  EXPECT_EQ(FormatCheckSummary(4, 0, 0, 2), "4 files checked: 0 errors, 0 warnings, 2 paths could not be read");
}

}  // namespace
}  // namespace veldrane::cli
