// Whole-file helpers of the tests (see Files.h). The source and fixture
// folders are compiled in by tests/support/CMakeLists.txt.
#include "support/Files.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vftest {

namespace fs = std::filesystem;

namespace {

bool Write(const std::string& path, const char* bytes, size_t size) {
  std::error_code error;
  const fs::path folder = fs::path(path).parent_path();
  if (!folder.empty()) fs::create_directories(folder, error);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes, static_cast<std::streamsize>(size));
  return static_cast<bool>(out);
}

}  // namespace

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  return Write(path, bytes.data(), bytes.size());
}

bool WriteFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  return Write(path, reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

std::string SourceDir() { return VF_SOURCE_DIR; }

std::string FixturePath(const std::string& name) { return std::string(VF_FIXTURE_DIR "/") + name; }

bool CopyFixture(const std::string& name, const std::string& to) {
  const std::string bytes = ReadFile(FixturePath(name));
  return !bytes.empty() && WriteFile(to, bytes);
}

bool LinkDataFolder(const std::string& folder) {
  const fs::path link = fs::path(folder) / "Data";
  std::error_code error;
  fs::remove(link, error);
  fs::create_directory_symlink(fs::path(SourceDir()) / "Data", link, error);
  return !error;
}

}  // namespace vftest
