// Text drawn with a bitmap font image: one image record per character.
//
// Owns the advance table fontw and the Text and StringWidth calls. The font
// is an ordinary image slot (SetFont) whose frame i is the character of byte
// value 32 + i; each character is recorded with DrawImg (ImageDraw.cpp), so
// it takes the current colours, size, rotation and blend mode.
#include "VeskFrame.h"
#include "graphics/Records.h"

namespace {

constexpr int kFirstFontChar = 32;  // the space is frame 0
constexpr int kLastFontIndex = 95;  // character 127; only 0..95 advance the pen

// Index of a character in fontw and frame of the font image; characters are
// signed bytes, so bytes 128..255 give negative indices.
int FontIndex(char c) { return static_cast<signed char>(c) - kFirstFontChar; }

bool Advances(int index) { return index >= 0 && index <= kLastFontIndex; }

}  // namespace

// Widths in texels of the characters 32..127 (entry 95, character 127, is 0);
// a character advances the pen by (width - 1) times the horizontal scale.
const int fontw[136] = {
    16, 6,  12, 15, 15, 16, 15, 6,  11, 10, 15, 15, 6,  15, 6,  15,  //  !"#$%&'()*+,-./
    15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 6,  6,  15, 15, 15, 15,  // 0-9 :;<=>?
    15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15,  // @A-O
    15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 11, 15, 10, 15, 15,  // P-Z [\]^_
    6,  15, 15, 15, 15, 15, 15, 15, 15, 6,  10, 15, 6,  15, 15, 15,  // `a-o
    15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 13, 6,  13, 15, 0,   // p-z {|}~ and 127
};

float VeskCore::StringWidth(const char* text) {
  if (text == nullptr) return 0.0f;
  float s = ASys.DrawSet[kSetSizeX] * RecordViewScale();
  float width = 0.0f;
  for (const char* p = text; *p != 0; p++) {
    int i = FontIndex(*p);
    if (Advances(i)) width = (fontw[i] - 1) * s + width;
  }
  return width;
}

void VeskCore::Text(float x, float y, const char* text) { Text(x, y, text, 0.0f, 1.0f); }

void VeskCore::Text(float x, float y, const char* text, float align) {
  Text(x, y, text, align, 1.0f);
}

// align moves the text back along its direction by that many half widths
// (0 starts at x, 1 centres, 2 ends at x); extra has no effect.
void VeskCore::Text(float x, float y, const char* text, float align, float extra) {
  (void)extra;
  if (text == nullptr) return;
  float rot = ASys.DrawSet[kSetRotation];
  float s = ASys.DrawSet[kSetSizeX] * RecordViewScale();
  float h = StringWidth(text) * 0.5f;
  x = x + Sin(rot - kQuarterTurn) * h * align;
  y = y - Cos(rot - kQuarterTurn) * h * align;
  float dirX = Sin(rot + kQuarterTurn);
  float dirY = -Cos(rot + kQuarterTurn);
  float d = (fontw[0] - 1) * s * 0.5f;
  x = x + dirX * d;
  y = y + dirY * d;
  for (const char* p = text; *p != 0; p++) {
    int i = FontIndex(*p);
    DrawImg(ASys.FontImage, x, y, i);
    if (!Advances(i)) continue;
    float adv = (fontw[i] - 1) * s;
    x = x + dirX * adv;
    y = y + dirY * adv;
  }
}
