// The operating-system seam for desktop Linux: the clock is
// std::chrono::steady_clock counted from process start, sleeping is
// std::this_thread::sleep_for, files are opened with std::fopen and the
// working folder comes from std::filesystem. Relies on nothing else of the
// library.
#include <chrono>
#include <filesystem>
#include <system_error>
#include <thread>

#include "frame/Platform.h"

namespace {

// Taken during static initialisation, i.e. at process start.
const std::chrono::steady_clock::time_point kProcessStart = std::chrono::steady_clock::now();

}  // namespace

int PlatformClockMs() {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now() - kProcessStart)
                              .count());
}

void PlatformSleepMs(int ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

FILE* PlatformOpenFile(const char* path, const char* mode) {
  char binary[kFileModeLength];
  if (path == nullptr || !BinaryFileMode(mode, binary)) return nullptr;
  return std::fopen(path, binary);
}

std::string PlatformWorkingFolder() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::current_path(error);
  return error ? std::string() : folder.string();
}
