// STUB (Draw state and command list): placeholder so the library links while the real code is written.
#include "Platform.h"

double DrawR[kRenderListRecords * kRecordSlots];
int DrawToRT;
void VeskCore::ResetDraw() {}
void VeskCore::SetSize(float) {}
void VeskCore::SetSize(float, float) {}
void VeskCore::SetRot(float) {}
void VeskCore::SetLineThickness(float) {}
void VeskCore::SetCol(float, float, float, float) {}
void VeskCore::SetGradient(float, float, float, float, float, float, float, float) {}
void VeskCore::SetAlpha(float) {}
void VeskCore::Alpha(float) {}
void VeskCore::SetBlend(int) {}
void VeskCore::Smoothing(int) {}
void VeskCore::SetFont(int) {}
void VeskCore::SetCLS(float, float, float) {}
void VeskCore::CLS(float, float, float) {}
void VeskCore::FadeCLS(float, float, float, float) {}
void Getdef(int) {}
int VeskSys::RecordStart(int) { return -1; }
void VeskSys::RenderBuffer() {}
