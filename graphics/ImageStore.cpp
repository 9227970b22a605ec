// STUB (Image store): placeholder so the library links while the real code is written.
#include "Platform.h"

std::vector<unsigned char> Image[kImageTableSize];
int iFrames[kMaxImages];
int iFramesW[kMaxImages];
float iFramesWz[kMaxImages];
int iSize[kMaxImages];
std::vector<unsigned char> WhiteBlock;
void VeskCore::LoadImg(int, const char*, int) {}
void VeskSys::GetPNG(int, const char*, int) {}
