// The OpenGL device's state application: Direct3D's states turned into GL state right before a draw.
#include "gpu/gl_device.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gpu/d3dx8.h"
#include "gpu/gl_translation.h"

using namespace d3d_to_gl;

float GLDevice::RenderStateFloat(D3DRENDERSTATETYPE state) const { return DwordToFloat(renderStates_[state]); }

void GLDevice::ApplyState(DWORD fvf, const uint8_t* vertices, UINT stride, UINT firstVertex, UINT vertexCount,
                          bool eyeSpace) {
  const VertexLayout layout = LayoutOf(fvf);
  BindTarget();
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, GLsizei(stride), vertices);
  if (layout.normal >= 0) {
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, GLsizei(stride), vertices + layout.normal);
  } else {
    glDisableClientState(GL_NORMAL_ARRAY);
    glNormal3f(0.0f, 0.0f, 0.0f);
  }
  if (layout.texture >= 0) {
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, GLsizei(stride), vertices + layout.texture);
  } else {
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glMultiTexCoord4f(GL_TEXTURE0, 0.0f, 0.0f, 0.0f, 1.0f);
  }
  if (eyeSpace != appliedEyeSpace_) staleGroups_ |= kTransformGroup;
  if (staleGroups_ & kTransformGroup) ApplyTransforms(eyeSpace);
  appliedEyeSpace_ = eyeSpace;
  if (staleGroups_ & kLightingGroup) appliedColourOffset_ = ApplyLighting(fvf);
  const int colour = appliedColourOffset_;
  if (colour >= 0) {
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(GL_BGRA, GL_UNSIGNED_BYTE, GLsizei(stride), vertices + colour);
  } else {
    glDisableClientState(GL_COLOR_ARRAY);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);  // Direct3D's colour for vertices without one
  }
  const bool unlitSpecular =
      !renderStates_[D3DRS_LIGHTING] && renderStates_[D3DRS_SPECULARENABLE] && layout.specular >= 0;
  if (unlitSpecular) {
    glEnable(GL_COLOR_SUM);
    glEnableClientState(GL_SECONDARY_COLOR_ARRAY);
    glSecondaryColorPointer(GL_BGRA, GL_UNSIGNED_BYTE, GLsizei(stride), vertices + layout.specular);
  } else {
    glDisable(GL_COLOR_SUM);
    glDisableClientState(GL_SECONDARY_COLOR_ARRAY);
  }
  if (staleGroups_ & kTextureStageGroup) ApplyTextureStage(fvf);
  ApplyFog(fvf, vertices, stride, firstVertex, vertexCount, eyeSpace);
  if (staleGroups_ & kRasterGroup) ApplyRaster();
  staleGroups_ = 0;
}

void GLDevice::ApplyTransforms(bool eyeSpace) {
  glViewport(GLint(viewport_.X), GLRowOf(viewport_.Y, viewport_.Height), GLsizei(viewport_.Width),
             GLsizei(viewport_.Height));
  glDepthRange(viewport_.MinZ, viewport_.MaxZ);
  glMatrixMode(GL_PROJECTION);
  glLoadMatrixf(WindowIsTarget() ? kD3DToGLClipUpright : kD3DToGLClipTurned);
  glMultMatrixf(&projection_.m[0][0]);  // a row-vector matrix read column-major is its GL form
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  const GLfloat planeX[4] = {1, 0, 0, 0}, planeY[4] = {0, 1, 0, 0};
  glTexGenfv(GL_S, GL_EYE_PLANE, planeX);  // camera-space position = eye coordinates
  glTexGenfv(GL_T, GL_EYE_PLANE, planeY);
  glLoadMatrixf(&view_.m[0][0]);
  if (lightEnabled_) {
    const D3DVECTOR& d = light_.Direction;
    const D3DVECTOR& p = light_.Position;
    const GLfloat position[4] = {
        light_.Type == D3DLIGHT_DIRECTIONAL ? -d.x : p.x, light_.Type == D3DLIGHT_DIRECTIONAL ? -d.y : p.y,
        light_.Type == D3DLIGHT_DIRECTIONAL ? -d.z : p.z, light_.Type == D3DLIGHT_DIRECTIONAL ? 0.0f : 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, position);  // world space, like Direct3D's lights
    const GLfloat direction[3] = {d.x, d.y, d.z};
    glLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, direction);
  }
  if (eyeSpace) glLoadIdentity();
  else glMultMatrixf(&world_.m[0][0]);
}

int GLDevice::ApplyLighting(DWORD fvf) {
  const VertexLayout layout = LayoutOf(fvf);
  glDisable(GL_COLOR_MATERIAL);
  if (!renderStates_[D3DRS_LIGHTING]) {
    glDisable(GL_LIGHTING);
    return layout.diffuse;
  }
  glEnable(GL_LIGHTING);
  float ambient[4];
  ToFloats(renderStates_[D3DRS_AMBIENT], ambient);
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
  glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, renderStates_[D3DRS_LOCALVIEWER] ? 1 : 0);
  glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
  const bool specular = renderStates_[D3DRS_SPECULARENABLE] != 0;
  const GLfloat none[4] = {0, 0, 0, 0};
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, &material_.Diffuse.r);
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, &material_.Ambient.r);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular ? &material_.Specular.r : none);
  glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, &material_.Emissive.r);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, std::clamp(material_.Power, 0.0f, 128.0f));
  if (lightEnabled_) {
    glEnable(GL_LIGHT0);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, &light_.Diffuse.r);
    glLightfv(GL_LIGHT0, GL_AMBIENT, &light_.Ambient.r);
    glLightfv(GL_LIGHT0, GL_SPECULAR, specular ? &light_.Specular.r : none);
    const bool directional = light_.Type == D3DLIGHT_DIRECTIONAL;
    glLightf(GL_LIGHT0, GL_CONSTANT_ATTENUATION, directional ? 1.0f : std::max(light_.Attenuation0, 1e-6f));
    glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, directional ? 0.0f : light_.Attenuation1);
    glLightf(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, directional ? 0.0f : light_.Attenuation2);
    // A spot light keeps only its outer cone (GL has no inner one).
    const bool spot = light_.Type == D3DLIGHT_SPOT;
    glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, spot ? std::clamp(light_.Phi * 90.0f / 3.14159265f, 0.0f, 90.0f) : 180.0f);
    glLightf(GL_LIGHT0, GL_SPOT_EXPONENT, spot ? std::clamp(light_.Falloff, 0.0f, 128.0f) : 0.0f);
  } else {
    glDisable(GL_LIGHT0);
  }

  // Material colour sources: GL follows one vertex colour; it takes the place of the diffuse and/or
  // ambient material (a diffuse and an ambient from different vertex colours: diffuse wins), else of
  // the specular or emissive material.
  auto source = [&](D3DRENDERSTATETYPE state) -> int {
    if (!renderStates_[D3DRS_COLORVERTEX]) return -1;
    if (renderStates_[state] == D3DMCS_COLOR1) return layout.diffuse;
    if (renderStates_[state] == D3DMCS_COLOR2) return layout.specular;
    return -1;
  };
  const int diffuse = source(D3DRS_DIFFUSEMATERIALSOURCE), ambientSource = source(D3DRS_AMBIENTMATERIALSOURCE);
  const int specularSource = source(D3DRS_SPECULARMATERIALSOURCE), emissive = source(D3DRS_EMISSIVEMATERIALSOURCE);
  int tracked = -1;
  GLenum mode = GL_AMBIENT_AND_DIFFUSE;
  if (diffuse >= 0) {
    tracked = diffuse;
    mode = ambientSource == diffuse ? GL_AMBIENT_AND_DIFFUSE : GL_DIFFUSE;
  } else if (ambientSource >= 0) {
    tracked = ambientSource, mode = GL_AMBIENT;
  } else if (specularSource >= 0 && specular) {
    tracked = specularSource, mode = GL_SPECULAR;
  } else if (emissive >= 0) {
    tracked = emissive, mode = GL_EMISSION;
  }
  if (tracked >= 0) {
    glColorMaterial(GL_FRONT_AND_BACK, mode);
    glEnable(GL_COLOR_MATERIAL);
  }
  return tracked;
}

void GLDevice::ApplyTextureStage(DWORD fvf) {
  glActiveTexture(GL_TEXTURE0);
  const DWORD* ts = stageStates_;
  // A stage without a texture passes the vertex colour on, colour and alpha, as Direct3D's drivers do.
  if (ts[D3DTSS_COLOROP] == D3DTOP_DISABLE || texture_ == nullptr) {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    return;
  }
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture_->Name());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER,
                  ts[D3DTSS_MAGFILTER] == D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                  ts[D3DTSS_MINFILTER] == D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST);
  auto wrap = [](DWORD address) {
    return address == D3DTADDRESS_CLAMP    ? GL_CLAMP_TO_EDGE
           : address == D3DTADDRESS_MIRROR ? GL_MIRRORED_REPEAT
                                           : GL_REPEAT;
  };
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap(ts[D3DTSS_ADDRESSU]));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap(ts[D3DTSS_ADDRESSV]));
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
  float factor[4];
  ToFloats(renderStates_[D3DRS_TEXTUREFACTOR], factor);
  glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, factor);
  Combine(false, ts[D3DTSS_COLOROP], ts[D3DTSS_COLORARG1], ts[D3DTSS_COLORARG2]);
  Combine(true, ts[D3DTSS_ALPHAOP], ts[D3DTSS_ALPHAARG1], ts[D3DTSS_ALPHAARG2]);

  GLint generation = 0;
  switch (ts[D3DTSS_TEXCOORDINDEX] & 0xFFFF0000) {
    case D3DTSS_TCI_CAMERASPACENORMAL: generation = GL_NORMAL_MAP; break;
    case D3DTSS_TCI_CAMERASPACEPOSITION: generation = GL_EYE_LINEAR; break;
    case D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR: generation = GL_REFLECTION_MAP; break;
    default: break;
  }
  if (generation == 0) {
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    if (!((fvf >> 8) & 0xF)) glMultiTexCoord4f(GL_TEXTURE0, 0.0f, 0.0f, 0.0f, 1.0f);
    return;
  }
  glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, generation);
  glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, generation);
  glEnable(GL_TEXTURE_GEN_S);
  glEnable(GL_TEXTURE_GEN_T);
}

void GLDevice::ApplyFog(DWORD fvf, const uint8_t* vertices, UINT stride, UINT firstVertex, UINT vertexCount,
                        bool eyeSpace) {
  glDisableClientState(GL_FOG_COORD_ARRAY);
  const DWORD tableMode = renderStates_[D3DRS_FOGTABLEMODE], vertexMode = renderStates_[D3DRS_FOGVERTEXMODE];
  const bool tableFog = tableMode >= D3DFOG_EXP && tableMode <= D3DFOG_LINEAR;
  // Vertex fog follows the vertices and transforms of every draw; no fog and table fog follow the states.
  if (!(staleGroups_ & kFogGroup) && (!renderStates_[D3DRS_FOGENABLE] || tableFog)) return;
  if (!renderStates_[D3DRS_FOGENABLE]) {
    glDisable(GL_FOG);
    return;
  }
  glEnable(GL_FOG);
  float colour[4];
  ToFloats(renderStates_[D3DRS_FOGCOLOR], colour);
  glFogfv(GL_FOG_COLOR, colour);
  const float start = RenderStateFloat(D3DRS_FOGSTART), end = RenderStateFloat(D3DRS_FOGEND);
  const float density = RenderStateFloat(D3DRS_FOGDENSITY);
  if (tableFog) {
    // Table fog per pixel on the eye depth, as Direct3D does with a perspective projection; range fog
    // applies to vertex fog only.
    glFogi(GL_FOG_COORD_SRC, GL_FRAGMENT_DEPTH);
    glFogi(GL_FOG_MODE, tableMode == D3DFOG_EXP ? GL_EXP : tableMode == D3DFOG_EXP2 ? GL_EXP2 : GL_LINEAR);
    glFogf(GL_FOG_START, start);
    glFogf(GL_FOG_END, end);
    glFogf(GL_FOG_DENSITY, std::max(density, 0.0f));  // GL refuses a negative density; its fog would be none
    return;
  }
  // Vertex fog: the factor per vertex, interpolated. GL's linear fog over coordinates 0..1 turns the
  // coordinate 1 - factor back into the factor.
  glFogi(GL_FOG_COORD_SRC, GL_FOG_COORD);
  glFogi(GL_FOG_MODE, GL_LINEAR);
  glFogf(GL_FOG_START, 0.0f);
  glFogf(GL_FOG_END, 1.0f);
  const VertexLayout layout = LayoutOf(fvf);
  D3DMATRIX worldView;
  if (eyeSpace) D3DXMatrixIdentity(&worldView);
  else D3DXMatrixMultiply(&worldView, &world_, &view_);
  const bool range = renderStates_[D3DRS_RANGEFOGENABLE] != 0;
  fogCoordinates_.assign(size_t(firstVertex) + vertexCount, 0.0f);
  for (UINT i = firstVertex; i < firstVertex + vertexCount; ++i) {
    const uint8_t* vertex = vertices + size_t(i) * stride;
    float factor = 1.0f;
    if (vertexMode >= D3DFOG_EXP && vertexMode <= D3DFOG_LINEAR) {
      float position[3], eye[3];
      std::memcpy(position, vertex, sizeof position);
      Transform(worldView, position, eye);
      const float distance = range ? std::sqrt(eye[0] * eye[0] + eye[1] * eye[1] + eye[2] * eye[2]) : eye[2];
      factor = FogFactor(vertexMode, distance, start, end, density);
    } else if (layout.specular >= 0) {
      factor = float(vertex[layout.specular + 3]) / 255.0f;  // no fog mode: the specular alpha is the factor
    }
    fogCoordinates_[i] = 1.0f - factor;
  }
  glEnableClientState(GL_FOG_COORD_ARRAY);
  glFogCoordPointer(GL_FLOAT, 0, fogCoordinates_.data());
}

void GLDevice::ApplyRaster() {
  const DWORD* rs = renderStates_;
  // Direct3D clips every primitive to the viewport; GL's viewport does not clip wide points and lines.
  ScissorToViewport();
  const DWORD fill = rs[D3DRS_FILLMODE];
  glPolygonMode(GL_FRONT_AND_BACK, fill == D3DFILL_POINT ? GL_POINT : fill == D3DFILL_WIREFRAME ? GL_LINE : GL_FILL);
  glShadeModel(rs[D3DRS_SHADEMODE] == D3DSHADE_FLAT ? GL_FLAT : GL_SMOOTH);  // PHONG is shaded as GOURAUD
  // Direct3D's clockwise on screen is GL's clockwise in an upright picture, counter-clockwise in a
  // turned one. GL culls the back faces: those not turned the way of the front ones.
  if (rs[D3DRS_CULLMODE] == D3DCULL_CW || rs[D3DRS_CULLMODE] == D3DCULL_CCW) {
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace((rs[D3DRS_CULLMODE] == D3DCULL_CCW) != WindowIsTarget() ? GL_CCW : GL_CW);
  } else {
    glDisable(GL_CULL_FACE);
  }
  if (rs[D3DRS_ZENABLE] && depthAttached_) {
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(CompareFunction(rs[D3DRS_ZFUNC]));
    glDepthMask(rs[D3DRS_ZWRITEENABLE] ? GL_TRUE : GL_FALSE);
  } else {
    glDisable(GL_DEPTH_TEST);
  }
  if (rs[D3DRS_ALPHATESTENABLE]) {
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(CompareFunction(rs[D3DRS_ALPHAFUNC]), float(rs[D3DRS_ALPHAREF] & 255) / 255.0f);
  } else {
    glDisable(GL_ALPHA_TEST);
  }
  if (rs[D3DRS_ALPHABLENDENABLE]) {
    glEnable(GL_BLEND);
    GLenum source = BlendFactor(rs[D3DRS_SRCBLEND], GL_ONE), destination = BlendFactor(rs[D3DRS_DESTBLEND], GL_ZERO);
    if (rs[D3DRS_SRCBLEND] == D3DBLEND_BOTHSRCALPHA) destination = GL_ONE_MINUS_SRC_ALPHA;
    if (rs[D3DRS_SRCBLEND] == D3DBLEND_BOTHINVSRCALPHA) destination = GL_SRC_ALPHA;
    glBlendFunc(source, destination);
    glBlendEquation(BlendEquation(rs[D3DRS_BLENDOP]));
  } else {
    glDisable(GL_BLEND);
  }
  const DWORD write = rs[D3DRS_COLORWRITEENABLE];
  glColorMask(write & 1, (write >> 1) & 1, (write >> 2) & 1, (write >> 3) & 1);

  // Plain points (no sprite, no scaling) keep D3DRS_POINTSIZE within the limits; the others are squares.
  const float maximum = std::min(RenderStateFloat(D3DRS_POINTSIZE_MAX), caps_.MaxPointSize);
  glPointSize(std::max(
      std::clamp(RenderStateFloat(D3DRS_POINTSIZE), std::min(RenderStateFloat(D3DRS_POINTSIZE_MIN), maximum), maximum),
      1e-3f));
}
