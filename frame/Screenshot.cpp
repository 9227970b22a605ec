// Screenshots: TakeScreenshot and VeskSys::Screenshot read the window into
// image-table entries 101 (as read) and 100 (flipped, opaque) and save 100 as
// "Screenshot.png"; SavePNG writes any entry as an RGBA PNG. Relies on the
// window (frame/Window.cpp), the render pass, the image tables, the console
// log and lodepng. Pixels come from the back buffer, which holds a finished
// frame only before the swap: the render pass reads it for F10 just before
// its swap, and TakeScreenshot first draws the last pass's frame into it
// again (after a swap the buffer may hold an older frame, or nothing).
#include <GLFW/glfw3.h>
#include <lodepng.h>

#include <cstdint>
#include <cstring>

#include "VeskFrame.h"
#include "frame/Window.h"
#include "graphics/ImageStore.h"
#include "graphics/Records.h"
#include "graphics/RenderPass.h"

namespace {

constexpr const char* kScreenshotFile = "Screenshot.png";

}  // namespace

void VeskCore::TakeScreenshot() {
  RenderRepeatFrame();
  ASys.Screenshot();
}

void VeskSys::Screenshot() {
  if (window == nullptr) {
    Debuglog("No window: the screenshot was not taken");
    return;
  }
  const int w = CanvasWidth;
  const int h = CanvasHeight;
  if (w <= 0 || h <= 0) {
    Debuglog(fstrSys("Window of %ix%i pixels: the screenshot was not taken", w, h));
    return;
  }
  const size_t rowBytes = static_cast<size_t>(w) * kBytesPerTexel;
  const size_t bytes = rowBytes * static_cast<size_t>(h);
  std::vector<unsigned char>& read = Image[kReadbackSlot];
  std::vector<unsigned char>& saved = Image[kScreenshotSlot];
  read.resize(bytes);
  saved.resize(bytes);

  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, read.data());

  // OpenGL returns the bottom row first; the file starts with the top row.
  for (int y = 0; y < h; y++) {
    std::memcpy(&saved[static_cast<size_t>(y) * rowBytes],
                &read[static_cast<size_t>(h - 1 - y) * rowBytes], rowBytes);
  }
  for (size_t i = kAlphaByte; i < bytes; i += kBytesPerTexel) saved[i] = kChannelMax;

  SavePNG(kScreenshotFile, kScreenshotSlot, static_cast<unsigned>(w), static_cast<unsigned>(h));
}

void VeskSys::SavePNG(const char* file, int slot, unsigned width, unsigned height) {
  if (file == nullptr) {
    Debuglog("No file name: the image was not saved");
    return;
  }
  Debuglog(fstrSys("Saving Image - %ix%i  ~ %s", static_cast<int>(width), static_cast<int>(height),
                   file));
  if (slot < 0 || slot >= kImageTableSize) {
    Debuglog(fstrSys("There is no image %i to save", slot));
    return;
  }
  const uint64_t needed = static_cast<uint64_t>(width) * height * kBytesPerTexel;
  if (Image[slot].size() < needed) {
    Debuglog(fstrSys("Image %i holds fewer than %ux%u pixels: nothing saved", slot, width, height));
    return;
  }
  // The file is always RGBA, 8 bits per channel, even when every pixel is
  // opaque (the library would otherwise pick a smaller colour type).
  lodepng::State state;
  state.encoder.auto_convert = 0;
  state.info_raw.colortype = LCT_RGBA;
  state.info_raw.bitdepth = 8;
  state.info_png.color.colortype = LCT_RGBA;
  state.info_png.color.bitdepth = 8;
  std::vector<unsigned char> png;
  unsigned error = lodepng::encode(png, Image[slot].data(), width, height, state);
  if (error == 0) error = lodepng::save_file(png, file);
  if (error != 0) {
    Debuglog(fstrSys("The image save didn't work.  All the images are unsaved!! %i",
                     static_cast<int>(error)));
  }
}
