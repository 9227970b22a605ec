// STUB (Shapes): placeholder so the library links while the real code is written.
#include "Platform.h"

void VeskCore::Rect(float, float, float, float) {}
void VeskCore::Rect(float, float, float) {}
void VeskCore::Rect_UL(float, float, float, float) {}
void VeskCore::Rect_UL(float, float, float) {}
void VeskCore::Oval(float, float, float, float) {}
void VeskCore::Oval(float, float, float) {}
void VeskCore::Circle(float, float, float) {}
void VeskCore::Oval_UL(float, float, float, float) {}
void VeskCore::Oval_UL(float, float, float) {}
void VeskCore::Circle_UL(float, float, float) {}
void VeskCore::Quad(float, float, float, float, float, float, float, float) {}
void VeskCore::Line(float, float, float, float) {}
