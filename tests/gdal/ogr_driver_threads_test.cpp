// Datasets used from several threads at once (each dataset by one thread at
// a time, as GDAL asks; one of them opened on this thread and read on
// another) give exactly what one thread reads: the shared tables and
// coordinate systems, each dataset's own context and the read-ahead
// threads keep to themselves. Run under ThreadSanitizer too
// (scripts/tsan.sh).
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/gdal/ogr_driver_test_support.h"

namespace veldrane::ogr::test {
namespace {

TEST(OgrDriverThreads, EightThreadsReadWhatOneThreadReads) {
  ScratchFolder folder;
  for (const char* name : {"levee.em", "borrow_pit.em", "old_route.830", "control.83", "centerline.pro"})
    fs::copy_file(fs::path(VELDRANE_SOURCE_DIR) / "samples" / name, folder / name);
  std::string longSurvey = "#H00 EM09\n#H04 NAD83\n#H06 US SURVEY FEET\n#H07 LA SOUTH\n#X01 3391000 690000 3391500 690000 0+00 L\n";
  for (int i = 0; i < 6000; ++i) longSurvey += std::to_string(i) + ",690000," + std::to_string(3391000 + i) + ",1.5,GND\n";
  WriteFile(folder / "long.em", longSurvey);  // read ahead on a second thread
  CapturedMessages quiet;
  const auto alone = OpenWithDriver(folder.str());
  ASSERT_TRUE(alone);
  const std::string expected = DescribeLayers(*alone);
  auto handedOver = OpenWithDriver(folder.str());
  ASSERT_TRUE(handedOver);

  std::vector<std::string> seen(8);
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < seen.size(); ++i) {
    threads.emplace_back([&, i] {
      CapturedMessages quietHere;
      if (i == 0) {
        seen[i] = DescribeLayers(*handedOver);
      } else if (auto own = OpenWithDriver(folder.str())) {
        seen[i] = DescribeLayers(*own);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (const std::string& text : seen) EXPECT_TRUE(text == expected);
}

}  // namespace
}  // namespace veldrane::ogr::test
