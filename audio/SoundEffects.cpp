// STUB (Sound effects): placeholder so the library links while the real code is written.
#include "Platform.h"

void VeskCore::PlaySFX(int) {}
void VeskCore::PlaySFX(int, float) {}
void VeskCore::PlaySFX(int, float, float) {}
void VeskCore::PlaySFX(int, float, float, float) {}
void VeskCore::PlaySFX(int, float, float, float, int) {}
void VeskSys::PlayWAV(int, float, float, float, int) {}
