// Internal header of frame/: the operating-system seam. Everything the
// library asks of the operating system beyond the window, GL and audio
// libraries goes through these calls: the clock, sleeping and opening files.
// frame/PlatformDesktop.cpp implements them for Linux; another port brings
// its own file and selects it in CMakeLists.txt.
#ifndef VESKFRAME_PLATFORM_H
#define VESKFRAME_PLATFORM_H

#include <cstdio>

// Monotonic wall-clock time in milliseconds since process start. An int holds
// about 24 days of run time.
int PlatformClockMs();

// Sleeps for ms milliseconds; returns at once for ms <= 0.
void PlatformSleepMs(int ms);

// std::fopen, always in binary mode (a 'b' is added to `mode` when it has
// none); null for a null path or a file that does not open.
FILE* PlatformOpenFile(const char* path, const char* mode);

#endif  // VESKFRAME_PLATFORM_H
