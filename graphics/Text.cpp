// STUB (Text): placeholder so the library links while the real code is written.
#include "Platform.h"

const int fontw[136] = {0};
void VeskCore::Text(float, float, const char*) {}
void VeskCore::Text(float, float, const char*, float) {}
void VeskCore::Text(float, float, const char*, float, float) {}
float VeskCore::StringWidth(const char*) { return 0; }
