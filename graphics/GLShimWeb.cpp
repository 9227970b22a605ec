// GL 1.x calls that the browser's fixed-function emulation over WebGL lacks,
// for the render pass and screenshots. Built only for the browser.
#include <GL/gl.h>

extern "C" {

// The emulation has only the float form.
void glTexCoord2d(GLdouble s, GLdouble t) {
  glTexCoord2f(static_cast<GLfloat>(s), static_cast<GLfloat>(t));
}

// WebGL reads pixels from its one drawing buffer, which holds the frame being
// drawn until the page presents it: there is no buffer to choose.
void glReadBuffer(GLenum /*mode*/) {}

}  // extern "C"
