// STUB (Log): placeholder so the library links while the real code is written.
#include "Platform.h"

int DebugMessages;
char TempstrSys[kTextBufferSize];
void VeskSys::Debuglog(const char*) {}
char* VeskSys::fstrSys(const char*, ...) { return TempstrSys; }
int VeskCore::Print(const char*) { return 1; }
int VeskCore::Debuglog(const char*) { return 1; }
int VeskCore::Debug(const char*) { return 1; }
