// STUB (Render pass): placeholder so the library links while the real code is written.
#include "Platform.h"

int TexUse;
int TriCount;
int RenderMode;
int Wireframe;
void VeskSys::RenderSys() {}
void VeskSys::RenderRect(int) {}
void VeskSys::RenderQuad(int) {}
void VeskSys::RenderOval(int) {}
