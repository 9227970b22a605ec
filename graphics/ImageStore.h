// Internal header of graphics/: the texel layout of the image tables and the
// white block (RGBA, one byte a channel), and the image store's start-up
// reset. Owned by graphics/ImageStore.cpp; image drawing, the render pass,
// the screenshot and SysInit use it.
#ifndef VESKFRAME_IMAGE_STORE_H
#define VESKFRAME_IMAGE_STORE_H

#include "VeskFrame.h"  // kWhiteBlockSide

constexpr int kBytesPerTexel = 4;  // red, green, blue, alpha
constexpr int kAlphaByte = 3;
constexpr int kWhiteBlockBytes = kWhiteBlockSide * kWhiteBlockSide * kBytesPerTexel;

// Fills the white block and marks every image slot unusable.
void ResetImages();

#endif  // VESKFRAME_IMAGE_STORE_H
