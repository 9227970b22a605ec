// STUB (Screenshots): placeholder so the library links while the real code is written.
#include "Platform.h"

void VeskCore::TakeScreenshot() {}
void VeskSys::Screenshot() {}
void VeskSys::SavePNG(const char*, int, unsigned, unsigned) {}
