// What GL draws differently from Direct3D, emulated: scaled points and point sprites as squares, and the
// sprite's screen quads.
#include "gpu/gl_device.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gpu/d3dx8.h"
#include "gpu/gl_check.h"
#include "gpu/gl_translation.h"

using namespace d3d_to_gl;

// Direct3D's point size: Si = D3DRS_POINTSIZE; with point scaling Ss = Vh × Si × sqrt(1 / (A + B·De +
// C·De²)), De the eye-space distance of the point and Vh the viewport height; then clamped to
// D3DRS_POINTSIZE_MIN .. D3DRS_POINTSIZE_MAX (and the device's largest size). A point whose centre lies
// outside the view volume is dropped whole. Each point becomes a screen-aligned square of Ss pixels,
// built around the point in eye space, so that lighting and fog see the point's own position; a square
// smaller than a pixel covers a pixel only where it holds the pixel's centre, as Direct3D rasterizes.
// Point sprites map the whole texture onto the square, (0, 0) at its top left.
void GLDevice::DrawPointSquares(const uint8_t* vertices, UINT firstVertex, UINT vertexCount) {
  const VertexLayout layout = LayoutOf(fvf_);
  const UINT stride = streamStride_;
  const bool sprite = renderStates_[D3DRS_POINTSPRITEENABLE] != 0;
  const bool scale = renderStates_[D3DRS_POINTSCALEENABLE] != 0;
  const float size = RenderStateFloat(D3DRS_POINTSIZE);
  const float a = RenderStateFloat(D3DRS_POINTSCALE_A), b = RenderStateFloat(D3DRS_POINTSCALE_B);
  const float c = RenderStateFloat(D3DRS_POINTSCALE_C);
  const float minimum = RenderStateFloat(D3DRS_POINTSIZE_MIN);
  const float maximum = std::min(RenderStateFloat(D3DRS_POINTSIZE_MAX), caps_.MaxPointSize);
  const float viewportW = float(viewport_.Width), viewportH = float(viewport_.Height);
  const D3DMATRIX& p = projection_;
  D3DMATRIX worldView;
  D3DXMatrixMultiply(&worldView, &world_, &view_);
  const float cornerX[4] = {-1, 1, 1, -1}, cornerY[4] = {1, 1, -1, -1};  // top left, clockwise on screen
  const float cornerU[4] = {0, 1, 1, 0}, cornerV[4] = {0, 0, 1, 1};
  squares_.clear();
  squareUvs_.clear();
  for (UINT i = firstVertex; i < firstVertex + vertexCount; ++i) {
    const uint8_t* vertex = vertices + size_t(i) * stride;
    float position[3], eye[3];
    std::memcpy(position, vertex, sizeof position);
    Transform(worldView, position, eye);
    const float clip[4] = {eye[0] * p.m[0][0] + eye[1] * p.m[1][0] + eye[2] * p.m[2][0] + p.m[3][0],
                           eye[0] * p.m[0][1] + eye[1] * p.m[1][1] + eye[2] * p.m[2][1] + p.m[3][1],
                           eye[0] * p.m[0][2] + eye[1] * p.m[1][2] + eye[2] * p.m[2][2] + p.m[3][2],
                           eye[0] * p.m[0][3] + eye[1] * p.m[1][3] + eye[2] * p.m[2][3] + p.m[3][3]};
    const float w = clip[3];
    if (!(w > 0.0f) || std::fabs(clip[0]) > w || std::fabs(clip[1]) > w || clip[2] < 0.0f || clip[2] > w) continue;
    float pixels = size;
    if (scale) {
      const float distance = std::sqrt(eye[0] * eye[0] + eye[1] * eye[1] + eye[2] * eye[2]);
      pixels = viewportH * size * std::sqrt(1.0f / (a + b * distance + c * distance * distance));
    }
    pixels = std::min(std::max(pixels, minimum), maximum);
    if (!(pixels > 0.0f) || p.m[0][0] == 0.0f || p.m[1][1] == 0.0f) continue;
    // Half a square in eye units: pixels / 2 of the viewport is pixels / size of clip space at this w.
    const float halfX = pixels * w / (viewportW * std::fabs(p.m[0][0]));
    const float halfY = pixels * w / (viewportH * std::fabs(p.m[1][1]));
    for (int k = 0; k < 4; ++k) {
      const size_t at = squares_.size();
      squares_.insert(squares_.end(), vertex, vertex + stride);
      const float corner[3] = {eye[0] + cornerX[k] * halfX, eye[1] + cornerY[k] * halfY, eye[2]};
      std::memcpy(&squares_[at], corner, sizeof corner);
      if (sprite) squareUvs_.insert(squareUvs_.end(), {cornerU[k], cornerV[k]});
      if (layout.normal >= 0) {  // turned into eye space with the point (no inverse transpose: a point has no surface)
        float normal[3], turned[3];
        std::memcpy(normal, &squares_[at + size_t(layout.normal)], sizeof normal);
        for (int k2 = 0; k2 < 3; ++k2)
          turned[k2] = normal[0] * worldView.m[0][k2] + normal[1] * worldView.m[1][k2] + normal[2] * worldView.m[2][k2];
        std::memcpy(&squares_[at + size_t(layout.normal)], turned, sizeof turned);
      }
    }
  }
  if (squares_.empty()) return;
  const UINT cornerCount = UINT(squares_.size() / stride);
  ApplyState(fvf_, squares_.data(), stride, 0, cornerCount, true);
  if (sprite) {  // the sprite's own coordinates, whatever the vertex holds or the stage generates
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, 0, squareUvs_.data());
  }
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);  // a point is a point whatever the fill and cull modes
  glDisable(GL_CULL_FACE);
  glDrawArrays(GL_QUADS, 0, GLsizei(cornerCount));
  staleGroups_ |= kRasterGroup | kTextureStageGroup;  // fill, cull and texture generation as set just above
}

void GLDevice::BeginScreenQuads() {
  if (fastForward_) return;
  core_->MakeCurrent();
  const GLCallCheck check("Begin(sprite)");
  BindTarget();
  staleGroups_ = kAllGroups;  // the quads set matrices, capabilities and the texture environment of their own
  D3DSURFACE_DESC target;
  target_->GetDesc(&target);
  glViewport(0, 0, GLsizei(target.Width), GLsizei(target.Height));
  glDepthRange(0.0, 1.0);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  // Target pixels, row 0 at the top.
  if (WindowIsTarget()) glOrtho(0.0, target.Width, target.Height, 0.0, -1.0, 1.0);
  else glOrtho(0.0, target.Width, 0.0, target.Height, -1.0, 1.0);
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  for (GLenum capability : {GL_LIGHTING, GL_FOG, GL_DEPTH_TEST, GL_CULL_FACE, GL_ALPHA_TEST, GL_TEXTURE_GEN_S,
                            GL_TEXTURE_GEN_T, GL_COLOR_SUM, GL_COLOR_MATERIAL})
    glDisable(capability);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glShadeModel(GL_SMOOTH);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  ScissorToViewport();
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glBlendEquation(GL_FUNC_ADD);
  glActiveTexture(GL_TEXTURE0);
  glEnable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  screenQuadTexture_ = 0;
}

void GLDevice::DrawScreenQuad(GLTexture* texture, const float corners[4][2], float u0, float v0, float u1, float v1,
                              D3DCOLOR color) {
  // A quad that holds no pixel centre of the viewport draws nothing: it is not sent at all.
  float left = corners[0][0], right = left, top = corners[0][1], bottom = top;
  for (int i = 1; i < 4; ++i) {
    left = std::min(left, corners[i][0]), right = std::max(right, corners[i][0]);
    top = std::min(top, corners[i][1]), bottom = std::max(bottom, corners[i][1]);
  }
  const float firstColumn = std::max(std::ceil(left - 0.5f), float(viewport_.X));
  const float lastColumn = std::min(std::floor(right - 0.5f), float(viewport_.X + viewport_.Width) - 1);
  const float firstRow = std::max(std::ceil(top - 0.5f), float(viewport_.Y));
  const float lastRow = std::min(std::floor(bottom - 0.5f), float(viewport_.Y + viewport_.Height) - 1);
  if (!(firstColumn <= lastColumn && firstRow <= lastRow)) return;
  NoteDraw(texture);
  if (fastForward_) return;
  const GLCallCheck check("Draw(sprite)");
  if (texture->Name() != screenQuadTexture_) {
    screenQuadTexture_ = texture->Name();
    glBindTexture(GL_TEXTURE_2D, screenQuadTexture_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  }
  glColor4ub(GLubyte(color >> 16), GLubyte(color >> 8), GLubyte(color), GLubyte(color >> 24));
  const float u[4] = {u0, u1, u1, u0}, v[4] = {v0, v0, v1, v1};
  glBegin(GL_QUADS);
  for (int i = 0; i < 4; ++i) {
    glTexCoord2f(u[i], v[i]);
    glVertex2f(corners[i][0], corners[i][1]);
  }
  glEnd();
}

void GLDevice::EndScreenQuads() {
  if (fastForward_) return;
  glDisable(GL_SCISSOR_TEST);
  UnbindTarget();
}
