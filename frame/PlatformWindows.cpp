// The operating-system seam for Windows. The clock is the performance
// counter counted from process start. Sleeps run with the system timer set
// to 1 ms: at its default period of about 15.6 ms every short sleep, and so
// the unfocused loop's pace, would stretch to the next tick. Files are opened
// in binary mode (no CR LF translation, no end at a Ctrl-Z byte) by their
// UTF-8 names through _wfopen, so a name outside the ANSI code page opens as
// it does on Linux; a name that is not UTF-8 goes to fopen as it is. The
// working folder is given in UTF-8 too. Relies on kernel32 and winmm.
#include <windows.h>
// windows.h first: mmsystem.h needs its types.
#include <mmsystem.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "frame/Platform.h"

namespace {

constexpr UINT kTimerPeriodMs = 1;
constexpr LONGLONG kMsPerSecond = 1000;

LONGLONG Counter() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

LONGLONG CounterFrequency() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return frequency.QuadPart;
}

// Taken during static initialisation, i.e. at process start.
const LONGLONG kProcessStart = Counter();
const LONGLONG kTicksPerSecond = CounterFrequency();

// UTF-16 form of a UTF-8 text; false when the text is not valid UTF-8.
bool Widen(const char* text, std::wstring* wide) {
  const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
  if (n <= 0) return false;
  wide->resize(static_cast<size_t>(n));
  return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, &(*wide)[0], n) == n;
}

}  // namespace

int PlatformClockMs() {
  return static_cast<int>((Counter() - kProcessStart) * kMsPerSecond / kTicksPerSecond);
}

void PlatformSleepMs(int ms) {
  if (ms <= 0) return;
  // Raised only while sleeping: a finer timer costs power system-wide.
  timeBeginPeriod(kTimerPeriodMs);
  Sleep(static_cast<DWORD>(ms));
  timeEndPeriod(kTimerPeriodMs);
}

FILE* PlatformOpenFile(const char* path, const char* mode) {
  char binary[kFileModeLength];
  if (path == nullptr || !BinaryFileMode(mode, binary)) return nullptr;
  std::wstring widePath, wideMode;
  if (Widen(path, &widePath) && Widen(binary, &wideMode)) {
    return _wfopen(widePath.c_str(), wideMode.c_str());
  }
  return std::fopen(path, binary);
}

std::string PlatformWorkingFolder() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::current_path(error);
  return error ? std::string() : folder.u8string();
}
