// STUB (Input poll): placeholder so the library links while the real code is written.
#include "Platform.h"

int UpdateCountLive;
void VeskSys::FlushKeys() {}
void VeskSys::PollInputB() {}
int VeskSys::IsBut(int) { return 0; }
void VeskCore::PollInput() {}
int VeskCore::PlayKey(int) { return 0; }
