// Runs a fuzz target's entry point over every file of the folders (or
// files) given on the command line, so the committed corpora replay under
// any compiler with the ordinary sanitizers. Any crash, sanitizer report or
// escaping exception fails the run.
//
//   veldrane_fuzz_replay_<target> [--mutate-seconds N] [--last-input FILE] INPUT...
//
// With --mutate-seconds, the replay then spends about N seconds feeding
// mutations of those inputs (bit flips, byte changes, insertions, deletions,
// duplicated and truncated runs, splices of two inputs) from a fixed random
// seed: a short, repeatable fuzzing pass for builds without libFuzzer. Each
// mutated input is first written to --last-input (default
// "fuzz-replay-last-input"), so the one that fails is left behind.
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

using Bytes = std::vector<std::uint8_t>;

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

Bytes ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void Run(const Bytes& bytes) { LLVMFuzzerTestOneInput(bytes.data(), bytes.size()); }

// One random change of `data`; `other` is another input to splice from.
void Mutate(Bytes& data, const Bytes& other, std::mt19937_64& random) {
  auto pick = [&](std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(random() % n); };
  auto place = [&](std::size_t i) { return data.begin() + static_cast<std::ptrdiff_t>(i); };
  // Bytes the survey formats give meaning to, so mutations reach the parsers.
  static const char kSpecial[] = "#,.-+ 0123456789\r\n\t\"AXPMGVHTE";
  auto special = [&] { return static_cast<std::uint8_t>(kSpecial[pick(sizeof kSpecial - 1)]); };
  // A byte and a run of up to 256 bytes from it (both empty in empty data).
  const std::size_t at = pick(data.size());
  const std::size_t end = std::min(data.size(), at + 1 + pick(256));
  switch (random() % 8) {
    case 0:
      if (!data.empty()) data[at] ^= static_cast<std::uint8_t>(1u << (random() % 8));
      break;
    case 1:
      if (!data.empty()) data[at] = static_cast<std::uint8_t>(random());
      break;
    case 2:
      data.insert(place(pick(data.size() + 1)), special());
      break;
    case 3:
      data.erase(place(at), place(end));
      break;
    case 4: {  // repeat a run, as a record copied many times
      const Bytes run(place(at), place(end));
      for (std::size_t i = 1 + pick(8); i > 0; --i) data.insert(place(at), run.begin(), run.end());
      break;
    }
    case 5:
      data.resize(pick(data.size() + 1));  // a file cut short
      break;
    case 6:
      if (!other.empty()) {  // the head of one input, the tail of another
        data.resize(pick(data.size() + 1));
        data.insert(data.end(), other.begin() + static_cast<std::ptrdiff_t>(pick(other.size())), other.end());
      }
      break;
    default:
      if (!data.empty()) data[at] = special();
      break;
  }
  constexpr std::size_t kLargest = std::size_t{1} << 20;
  if (data.size() > kLargest) data.resize(kLargest);
}

std::size_t MutationPass(const std::vector<Bytes>& seeds, double seconds, const std::string& lastInput) {
  std::mt19937_64 random(20261205);
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  std::size_t runs = 0;
  while (std::chrono::steady_clock::now() < end) {
    Bytes data = seeds[random() % seeds.size()];
    const Bytes& other = seeds[random() % seeds.size()];
    for (int changes = 1 + static_cast<int>(random() % 6); changes > 0; --changes) Mutate(data, other, random);
    {
      std::ofstream out(lastInput, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    }
    Run(data);
    ++runs;
  }
  std::filesystem::remove(lastInput);
  return runs;
}

}  // namespace

int main(int argc, char** argv) {
  double mutateSeconds = 0;
  std::string lastInput = "fuzz-replay-last-input";
  std::vector<Bytes> seeds;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--mutate-seconds" && i + 1 < argc) {
      mutateSeconds = std::atof(argv[++i]);
      continue;
    }
    if (arg == "--last-input" && i + 1 < argc) {
      lastInput = argv[++i];
      continue;
    }
    const std::vector<std::filesystem::path> inputs = InputsOf(arg);
    if (inputs.empty()) {
      std::cerr << "no inputs in " << arg << "\n";
      return 1;
    }
    for (const auto& input : inputs) {
      seeds.push_back(ReadBytes(input));
      Run(seeds.back());
    }
  }
  std::cout << "replayed " << seeds.size() << " inputs\n";
  if (seeds.empty()) return 1;
  if (mutateSeconds > 0) {
    const std::size_t runs = MutationPass(seeds, mutateSeconds, lastInput);
    std::cout << "ran " << runs << " mutated inputs in " << mutateSeconds << " s\n";
  }
  return 0;
}
