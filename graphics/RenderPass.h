// Internal header of graphics/: the render pass's globals and the batching
// and vertex helpers that the shape and image routines share. Owned by
// graphics/RenderPass.cpp; the input poll sets Wireframe and the screenshot
// draws the last frame again with RenderRepeatFrame.
#ifndef VESKFRAME_RENDER_PASS_H
#define VESKFRAME_RENDER_PASS_H

constexpr int kTexWhite = -2;  // RenderUseTexture: the white block

extern int TexUse;
extern int TriCount;
extern int RenderMode;  // GL_NEAREST or GL_LINEAR for this pass
extern int Wireframe;   // 1 while F9 is held

// One vertex colour, as the renderer hands it to GL.
struct Colour {
  unsigned char r, g, b, a;
};
// The colour whose first field (alpha) is in record slot `first`
// (kSlotColour1 or kSlotColour2); channels out of 0..255 or NaN are pinned.
Colour ColourAt(const double* record, int first);
// One vertex of the open batch: texture coordinates, colour, position.
void Vertex(const Colour& c, double u, double v, float x, float y);

// Each drawing routine calls RenderUseTexture, then RenderBox, RenderCorners
// or Vertex. Opens a new batch unless the open one uses `texture`
// (kTexWhite or an image number) and has room.
void RenderUseTexture(int texture);
// Two triangles around the record's centre with half extents hw, hh, turned
// by its rotation; v0 is the texture row at offset -hh, v1 the row at +hh.
void RenderBox(int base, float hw, float hh, float u0, float u1, float v0, float v1);
// Two triangles through the record's four corners; p1, p2 take row v12 and
// colour 1, p3, p4 row v34 and colour 2.
void RenderCorners(int base, float u0, float u1, float v12, float v34);
// Draws the last pass's frame again into the back buffer (no fade step, no
// swap), so that a screenshot taken between passes can read it.
void RenderRepeatFrame();

#endif  // VESKFRAME_RENDER_PASS_H
