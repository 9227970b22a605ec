// STUB (Sound slots): placeholder so the library links while the real code is written.
#include "Platform.h"

unsigned ALbuffer[kSoundSlots];
int ALbufferActive[kSoundSlots];
int SFXData[kSoundSlots][10];
void VeskCore::LoadSFX(int) {}
void VeskCore::LoadSFX(int, const char*) {}
void VeskSys::GetWAV(int, const char*) {}
