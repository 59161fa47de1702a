#include "gpu/gl_translation.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace d3d_to_gl {

void ToFloats(D3DCOLOR color, float out[4]) {
  out[0] = float((color >> 16) & 255) / 255.0f;
  out[1] = float((color >> 8) & 255) / 255.0f;
  out[2] = float(color & 255) / 255.0f;
  out[3] = float(color >> 24) / 255.0f;
}

float DwordToFloat(DWORD value) {
  float result;
  std::memcpy(&result, &value, 4);
  return result;
}

DWORD FloatToDword(float value) {
  DWORD result;
  std::memcpy(&result, &value, 4);
  return result;
}

GLenum CompareFunction(DWORD function) {
  switch (function) {
    case D3DCMP_NEVER: return GL_NEVER;
    case D3DCMP_LESS: return GL_LESS;
    case D3DCMP_EQUAL: return GL_EQUAL;
    case D3DCMP_LESSEQUAL: return GL_LEQUAL;
    case D3DCMP_GREATER: return GL_GREATER;
    case D3DCMP_NOTEQUAL: return GL_NOTEQUAL;
    case D3DCMP_GREATEREQUAL: return GL_GEQUAL;
    default: return GL_ALWAYS;
  }
}

GLenum BlendFactor(DWORD factor, GLenum otherwise) {
  switch (factor) {
    case D3DBLEND_ZERO: return GL_ZERO;
    case D3DBLEND_ONE: return GL_ONE;
    case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT: return GL_SRC_ALPHA_SATURATE;
    // Direct3D defines the BOTH factors for the source only; as a destination we read them literally.
    case D3DBLEND_BOTHSRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_BOTHINVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    default: return otherwise;
  }
}

GLenum BlendEquation(DWORD op) {
  switch (op) {
    case D3DBLENDOP_SUBTRACT: return GL_FUNC_SUBTRACT;
    case D3DBLENDOP_REVSUBTRACT: return GL_FUNC_REVERSE_SUBTRACT;
    case D3DBLENDOP_MIN: return GL_MIN;
    case D3DBLENDOP_MAX: return GL_MAX;
    default: return GL_FUNC_ADD;
  }
}

GLenum PrimitiveMode(D3DPRIMITIVETYPE type) {
  switch (type) {
    case D3DPT_POINTLIST: return GL_POINTS;
    case D3DPT_LINELIST: return GL_LINES;
    case D3DPT_LINESTRIP: return GL_LINE_STRIP;
    case D3DPT_TRIANGLELIST: return GL_TRIANGLES;
    case D3DPT_TRIANGLESTRIP: return GL_TRIANGLE_STRIP;
    default: return GL_TRIANGLE_FAN;
  }
}

UINT VerticesFor(D3DPRIMITIVETYPE type, UINT count) {
  switch (type) {
    case D3DPT_POINTLIST: return count;
    case D3DPT_LINELIST: return count * 2;
    case D3DPT_LINESTRIP: return count + 1;
    case D3DPT_TRIANGLELIST: return count * 3;
    default: return count + 2;
  }
}
UINT PrimitivesFitting(D3DPRIMITIVETYPE type, UINT available) {
  switch (type) {
    case D3DPT_POINTLIST: return available;
    case D3DPT_LINELIST: return available / 2;
    case D3DPT_LINESTRIP: return available >= 2 ? available - 1 : 0;
    case D3DPT_TRIANGLELIST: return available / 3;
    default: return available >= 3 ? available - 2 : 0;
  }
}

VertexLayout LayoutOf(DWORD fvf) {
  VertexLayout layout;
  int offset = 12;  // XYZ
  if (fvf & D3DFVF_NORMAL) layout.normal = offset, offset += 12;
  if (fvf & 0x020) offset += 4;  // point size
  if (fvf & D3DFVF_DIFFUSE) layout.diffuse = offset, offset += 4;
  if (fvf & D3DFVF_SPECULAR) layout.specular = offset, offset += 4;
  if ((fvf >> 8) & 0xF) layout.texture = offset;
  return layout;
}

void Transform(const D3DMATRIX& m, const float in[3], float out[3]) {
  for (int c = 0; c < 3; ++c) out[c] = in[0] * m.m[0][c] + in[1] * m.m[1][c] + in[2] * m.m[2][c] + m.m[3][c];
}

float FogFactor(DWORD mode, float distance, float start, float end, float density) {
  float factor = 1.0f;
  switch (mode) {
    case D3DFOG_EXP: factor = std::exp(-density * distance); break;
    case D3DFOG_EXP2: factor = std::exp(-(density * distance) * (density * distance)); break;
    case D3DFOG_LINEAR: factor = end == start ? 1.0f : (end - distance) / (end - start); break;
    default: break;
  }
  return std::clamp(factor, 0.0f, 1.0f);
}

void Combine(bool alpha, DWORD op, DWORD arg1, DWORD arg2) {
  const GLenum sources[3] = {GLenum(alpha ? GL_SRC0_ALPHA : GL_SRC0_RGB), GLenum(alpha ? GL_SRC1_ALPHA : GL_SRC1_RGB),
                             GLenum(alpha ? GL_SRC2_ALPHA : GL_SRC2_RGB)};
  const GLenum operands[3] = {GLenum(alpha ? GL_OPERAND0_ALPHA : GL_OPERAND0_RGB),
                              GLenum(alpha ? GL_OPERAND1_ALPHA : GL_OPERAND1_RGB),
                              GLenum(alpha ? GL_OPERAND2_ALPHA : GL_OPERAND2_RGB)};
  auto set = [&](int slot, DWORD arg) {
    GLenum source = GL_PRIMARY_COLOR;  // D3DTA_DIFFUSE; D3DTA_SPECULAR has no GL source and reads diffuse
    switch (arg & D3DTA_SELECTMASK) {
      case D3DTA_CURRENT: source = GL_PREVIOUS; break;
      case D3DTA_TEXTURE: source = GL_TEXTURE; break;
      case D3DTA_TFACTOR: source = GL_CONSTANT; break;
      default: break;
    }
    const bool complement = arg & D3DTA_COMPLEMENT;
    GLenum operand = complement ? GL_ONE_MINUS_SRC_COLOR : GL_SRC_COLOR;
    if (alpha || (arg & D3DTA_ALPHAREPLICATE)) operand = complement ? GL_ONE_MINUS_SRC_ALPHA : GL_SRC_ALPHA;
    glTexEnvi(GL_TEXTURE_ENV, sources[slot], GLint(source));
    glTexEnvi(GL_TEXTURE_ENV, operands[slot], GLint(operand));
  };
  GLenum function = GL_MODULATE;
  float scale = 1.0f;
  set(0, arg1);
  set(1, arg2);
  switch (op) {
    case D3DTOP_DISABLE:
      function = GL_REPLACE;
      set(0, D3DTA_CURRENT);
      break;
    case D3DTOP_SELECTARG1: function = GL_REPLACE; break;
    case D3DTOP_SELECTARG2:
      function = GL_REPLACE;
      set(0, arg2);
      break;
    case D3DTOP_MODULATE2X: scale = 2.0f; break;
    case D3DTOP_MODULATE4X: scale = 4.0f; break;
    case D3DTOP_ADD: function = GL_ADD; break;
    case D3DTOP_ADDSIGNED: function = GL_ADD_SIGNED; break;
    case D3DTOP_ADDSIGNED2X:
      function = GL_ADD_SIGNED;
      scale = 2.0f;
      break;
    case D3DTOP_SUBTRACT: function = GL_SUBTRACT; break;
    case D3DTOP_BLENDDIFFUSEALPHA:
      function = GL_INTERPOLATE;
      set(2, D3DTA_DIFFUSE | D3DTA_ALPHAREPLICATE);
      break;
    case D3DTOP_BLENDTEXTUREALPHA:
      function = GL_INTERPOLATE;
      set(2, D3DTA_TEXTURE | D3DTA_ALPHAREPLICATE);
      break;
    case D3DTOP_BLENDFACTORALPHA:
      function = GL_INTERPOLATE;
      set(2, D3DTA_TFACTOR | D3DTA_ALPHAREPLICATE);
      break;
    case D3DTOP_BLENDCURRENTALPHA:
      function = GL_INTERPOLATE;
      set(2, D3DTA_CURRENT | D3DTA_ALPHAREPLICATE);
      break;
    default: break;  // MODULATE; the operations this renderer never sets also modulate
  }
  glTexEnvi(GL_TEXTURE_ENV, alpha ? GL_COMBINE_ALPHA : GL_COMBINE_RGB, GLint(function));
  glTexEnvf(GL_TEXTURE_ENV, alpha ? GL_ALPHA_SCALE : GL_RGB_SCALE, scale);
}

}  // namespace d3d_to_gl
