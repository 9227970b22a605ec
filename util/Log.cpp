// Console log: the numbered lines of VeskSys::Debuglog, the platform layer's
// formatting buffer TempstrSys (fstrSys) and the three VeskCore forms that
// reach the log. Lines go to standard output and are flushed one by one, so a
// run that is killed keeps every line it wrote and a pipe sees each at once.
// Relies on the shared formatting rules of util/TextBuffer.h.
#include <cstdarg>
#include <cstdio>

#include "VeskFrame.h"
#include "util/TextBuffer.h"

int DebugMessages;
char TempstrSys[kTextBufferSize];

// The text is printed as it is (never used as a format). A null text logs an
// empty line rather than crashing.
void VeskSys::Debuglog(const char* text) {
  DebugMessages++;
  std::printf("% 8i> %s\n", DebugMessages, TextOrEmpty(text));
  std::fflush(stdout);
}

// Formats into a local buffer before TempstrSys is cleared, so arguments that
// point into TempstrSys itself stay readable; results over 1023 characters are
// cut at 1023.
char* VeskSys::fstrSys(const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatInto(TempstrSys, format, args);
  va_end(args);
  return TempstrSys;
}

int VeskCore::Print(const char* text) {
  ASys.Debuglog(text);
  return 1;
}

int VeskCore::Debuglog(const char* text) {
  ASys.Debuglog(text);
  return 1;
}

int VeskCore::Debug(const char* text) {
  ASys.Debuglog(text);
  return 1;
}
