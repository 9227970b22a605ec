// STUB (Loop pieces): placeholder so the library links while the real code is written.
#include "Platform.h"

int RenderCountLive;
int rw2;
int rh2;
float ViewScale;
void VeskCore::RenderGame(float&, float&) {}
void VeskCore::BufferGame() {}
void VeskCore::FlipFullscreen() {}
