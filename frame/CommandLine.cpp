// The framework's options on a game's command line (VeskCore::CommandLine):
// --record FILE, --replay FILE and --then-play. A replay is started before a
// recording, so that both together record the replay. Relies on Record and
// Replay (frame/Session.cpp) and the console log.
#include <cstring>

#include "VeskFrame.h"

void VeskCore::CommandLine(int argc, const char* const* argv) {
  const char* record = nullptr;
  const char* replay = nullptr;
  int thenPlay = 0;
  for (int i = 1; i < argc && argv != nullptr; i++) {
    const char* arg = argv[i] != nullptr ? argv[i] : "";
    const bool takesFile = std::strcmp(arg, "--record") == 0 || std::strcmp(arg, "--replay") == 0;
    if (takesFile && i + 1 < argc && argv[i + 1] != nullptr) {
      (arg[2] == 'r' && arg[4] == 'c' ? record : replay) = argv[++i];
    } else if (std::strcmp(arg, "--then-play") == 0) {
      thenPlay = 1;
    } else if (takesFile) {
      ASys.Debuglog(ASys.fstrSys("Option %s needs a file name", arg));
    } else {
      ASys.Debuglog(ASys.fstrSys(
          "Argument %s is not one of the framework's (--record FILE, --replay FILE, --then-play)",
          arg));
    }
  }
  if (replay != nullptr) Replay(replay, thenPlay);
  if (record != nullptr) Record(record);
}
