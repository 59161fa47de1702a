#pragma once
// Direct3D 8's values in OpenGL's terms: colours, compare and blend functions, primitive types and
// their vertex counts, the layout of a flexible vertex, the clip-space turn, fog factors and the
// texture-stage operations as GL_COMBINE state.
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include "gpu/d3d8.h"

namespace d3d_to_gl {

void ToFloats(D3DCOLOR color, float out[4]);
float DwordToFloat(DWORD value);
DWORD FloatToDword(float value);
GLenum CompareFunction(DWORD function);
GLenum BlendFactor(DWORD factor, GLenum otherwise);
GLenum BlendEquation(DWORD op);
GLenum PrimitiveMode(D3DPRIMITIVETYPE type);

// Vertices needed by count primitives, and the largest count that fits into available vertices.
UINT VerticesFor(D3DPRIMITIVETYPE type, UINT count);
UINT PrimitivesFitting(D3DPRIMITIVETYPE type, UINT available);

// Byte offsets of the parts of a flexible vertex format; -1 where absent.
struct VertexLayout {
  int normal = -1, diffuse = -1, specular = -1, texture = -1;
};
VertexLayout LayoutOf(DWORD fvf);

// Direct3D's clip space (row vectors, depth 0..1) to GL's (depth -1..1). Turned: Y reversed, so that
// GL's row 0 is the picture's top (our framebuffers); upright: GL's row 0 is the picture's bottom (the
// window). Column-major for glLoadMatrixf.
constexpr GLfloat kD3DToGLClipTurned[16] = {1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 2, 0, 0, 0, -1, 1};
constexpr GLfloat kD3DToGLClipUpright[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 2, 0, 0, 0, -1, 1};

// A point through a row-vector matrix (translation included).
void Transform(const D3DMATRIX& m, const float in[3], float out[3]);
float FogFactor(DWORD mode, float distance, float start, float end, float density);

// One texture-stage operation as GL_COMBINE state for colour or alpha.
void Combine(bool alpha, DWORD op, DWORD arg1, DWORD arg2);

}  // namespace d3d_to_gl
