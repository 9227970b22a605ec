// The main() of every test program. ctest runs the fast tier one test case
// per process (--gtest_filter=Suite.Case); such a run works in a fresh,
// empty folder of its own under the program's working directory, so cases
// running side by side never meet each other's files (Data/, captures,
// screenshots). A run of several cases stays in the working directory.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

// The case a filter names, or "" when it names a pattern or several cases.
std::string SingleCase(const std::string& filter) {
  if (filter.empty() || filter.find_first_of("*?:-") != std::string::npos) return "";
  return filter;
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  std::string folder = SingleCase(GTEST_FLAG_GET(filter));
  if (!folder.empty() && !GTEST_FLAG_GET(list_tests)) {
    for (char& c : folder) {
      if (c == '/') c = '_';  // parameterised names: Prefix/Suite.Case/0
    }
    namespace fs = std::filesystem;
    std::error_code error;
    fs::remove_all(folder, error);
    fs::create_directories(folder, error);
    fs::current_path(folder, error);
    if (error) {
      std::fprintf(stderr, "cannot work in %s: %s\n", folder.c_str(), error.message().c_str());
      return 1;
    }
  }
  return RUN_ALL_TESTS();
}
