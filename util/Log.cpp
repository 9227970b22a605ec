// Console log: the numbered lines of VeskSys::Debuglog, the platform layer's
// formatting buffer TempstrSys (fstrSys), the three VeskCore forms that reach
// the log, and the explanation that follows a file that could not be loaded.
// Lines go to standard output and are flushed one by one, so a run that is
// killed keeps every line it wrote and a pipe sees each at once. Relies on
// the shared formatting rules of util/TextBuffer.h and on the working folder
// and file opening of the operating-system seam (frame/Platform.h).
#include "util/Log.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "VeskFrame.h"
#include "frame/Platform.h"
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

// Newcomers most often start a game from another folder than the one that
// holds its Data/, so a file that is not there gets that hint; a file that is
// there but could not be read gets none.
void ExplainUnloadedFile(const char* path) {
  const char* tried = TextOrEmpty(path);
  std::string folder = PlatformWorkingFolder();
  if (folder.empty()) folder = "(unknown)";
  FILE* file = PlatformOpenFile(path, "rb");
  if (file == nullptr) {
    std::fprintf(stderr,
                 "VeskFrame: no file \"%s\" in the working folder \"%s\": a game runs from the "
                 "folder that holds Data/\n",
                 tried, folder.c_str());
  } else {
    std::fclose(file);
    std::fprintf(stderr,
                 "VeskFrame: \"%s\" in the working folder \"%s\" was found but could not be "
                 "read: is it damaged, or of another format?\n",
                 tried, folder.c_str());
  }
  std::fflush(stderr);
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
