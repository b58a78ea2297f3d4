// Runs a fuzz target's entry point over every file of the folders (or
// files) given on the command line, so the committed corpora replay under
// any compiler with the ordinary sanitizers. Any crash, sanitizer report or
// escaping exception fails the run.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::filesystem::path> InputsOf(const std::filesystem::path& root) {
  std::vector<std::filesystem::path> inputs;
  if (std::filesystem::is_regular_file(root)) {
    inputs.push_back(root);
  } else if (std::filesystem::is_directory(root)) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
      if (entry.is_regular_file()) inputs.push_back(entry.path());
    }
  }
  std::sort(inputs.begin(), inputs.end());  // same order on every run
  return inputs;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t replayed = 0;
  for (int i = 1; i < argc; ++i) {
    const std::vector<std::filesystem::path> inputs = InputsOf(argv[i]);
    if (inputs.empty()) {
      std::cerr << "no inputs in " << argv[i] << "\n";
      return 1;
    }
    for (const auto& input : inputs) {
      std::ifstream in(input, std::ios::binary);
      const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
      ++replayed;
    }
  }
  std::cout << "replayed " << replayed << " inputs\n";
  return replayed > 0 ? 0 : 1;
}
