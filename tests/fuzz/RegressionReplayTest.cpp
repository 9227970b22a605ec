// Replays every input kept in tests/data/regress/<target>/ through the fuzz
// target that once failed on it (crash, sanitizer report or broken check),
// with the same code the fuzzers run. A fault that comes back aborts this
// program, after the name of the input was printed.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "FuzzTargets.h"
#include "support/Files.h"

namespace {

namespace fs = std::filesystem;

struct Target {
  const char* folder;
  int (*run)(const uint8_t*, size_t);
};

const Target kTargets[] = {{"sound", fuzz::SoundLoad},
                           {"music", fuzz::Music},
                           {"images", fuzz::Images},
                           {"strings", fuzz::Strings},
                           {"recording", fuzz::Recording}};

std::vector<fs::path> Inputs(const char* folder) {
  std::vector<fs::path> inputs;
  const fs::path dir = fs::path(vftest::SourceDir()) / "tests" / "data" / "regress" / folder;
  if (!fs::is_directory(dir)) return inputs;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.is_regular_file()) inputs.push_back(entry.path());
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

TEST(Regressions, EveryKeptInputRunsClean) {
  int replayed = 0;
  for (const Target& target : kTargets) {
    for (const fs::path& path : Inputs(target.folder)) {
      const std::string file = vftest::ReadFile(path.string());
      const std::vector<uint8_t> bytes(file.begin(), file.end());
      std::fprintf(stderr, "replaying %s/%s (%zu bytes)\n", target.folder, path.filename().c_str(),
                   bytes.size());
      EXPECT_EQ(target.run(bytes.data(), bytes.size()), 0);
      replayed++;
    }
  }
  EXPECT_GT(replayed, 0) << "no regression inputs found";
  RecordProperty("replayed", replayed);
}

}  // namespace
