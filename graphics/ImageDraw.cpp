// STUB (Image drawing): placeholder so the library links while the real code is written.
#include "Platform.h"

void VeskCore::DrawImg(int, float, float, int) {}
void VeskCore::QuadImg(int, float, float, float, float, float, float, float, float, int) {}
void VeskSys::RenderImage(int) {}
void VeskSys::RenderQuadImage(int) {}
