// Internal header of frame/: the operating-system seam. Everything the
// library asks of the operating system beyond the window, GL and audio
// libraries goes through these calls: the clock, sleeping and opening files.
// frame/PlatformDesktop.cpp implements them for Linux and
// frame/PlatformWindows.cpp for Windows; CMakeLists.txt picks one.
#ifndef VESKFRAME_PLATFORM_H
#define VESKFRAME_PLATFORM_H

#include <cstdio>
#include <cstring>

// Monotonic wall-clock time in milliseconds since process start. An int holds
// about 24 days of run time.
int PlatformClockMs();

// Sleeps for ms milliseconds; returns at once for ms <= 0.
void PlatformSleepMs(int ms);

// std::fopen, always in binary mode (a 'b' is added to `mode` when it has
// none); null for a null path or a file that does not open.
FILE* PlatformOpenFile(const char* path, const char* mode);

// The binary form of an fopen mode, shared by the ports: `mode` (at most
// kFileModeLength - 2 of its characters) with a 'b' added when it has none.
// False for a null mode.
constexpr int kFileModeLength = 8;  // longer than any fopen mode ("r+b" and the like)
inline bool BinaryFileMode(const char* mode, char (&binary)[kFileModeLength]) {
  if (mode == nullptr) return false;
  std::memset(binary, 0, sizeof binary);
  std::strncpy(binary, mode, kFileModeLength - 2);
  if (std::strchr(binary, 'b') == nullptr) std::strcat(binary, "b");
  return true;
}

#endif  // VESKFRAME_PLATFORM_H
