// STUB (Window): placeholder so the library links while the real code is written.
#include "Platform.h"

GLFWwindow* window;
int isFullscreen;
char GameTitleSys[kTextBufferSize];
void VeskSys::SysInit(const char*) {}
void VeskSys::SetScreen(int, int) {}
void VeskSys::FlipFull() {}
void VeskSys::Close() {}
