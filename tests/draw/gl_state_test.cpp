// The OpenGL device's GL state between its calls: the window toolkit's framebuffer bound whenever
// control leaves the device, errors of other GL calls never taken for the device's own, and the GL
// check switch naming the call around an error.
#include <gtest/gtest.h>

#include <cstdlib>

#include "gl_fixture.h"
#include "gpu/gl_objects.h"

namespace {

GLint BoundFramebuffer() {
  GLint draw = -1, read = -1;
  glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &draw);
  glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read);
  return draw != read ? -1 : draw;
}

TEST(GLState, EveryCallLeavesTheDefaultFramebufferBound) {
  GLFixture f(64, 48);
  EXPECT_EQ(BoundFramebuffer(), 0) << "after creation and Clear";
  f.DrawRect(-1.0f, 1.0f, 0.0f, 0.0f, 0.5f, 0xFFFF0000);
  EXPECT_EQ(BoundFramebuffer(), 0) << "after DrawPrimitive";

  IDirect3DTexture8* target = nullptr;
  ASSERT_EQ(f.device->CreateTexture(32, 16, 1, D3DUSAGE_RENDERTARGET, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT, &target),
            D3D_OK);
  IDirect3DSurface8 *back = nullptr, *level = nullptr;
  ASSERT_EQ(f.device->GetRenderTarget(&back), D3D_OK);
  ASSERT_EQ(target->GetSurfaceLevel(0, &level), D3D_OK);
  ASSERT_EQ(f.device->SetRenderTarget(level, nullptr), D3D_OK);
  EXPECT_EQ(BoundFramebuffer(), 0) << "after SetRenderTarget";
  f.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0);
  f.DrawRect(-1.0f, 1.0f, 0.0f, 0.0f, 0.5f, 0xFF0000FF);
  EXPECT_EQ(BoundFramebuffer(), 0) << "after drawing into a texture";
  ASSERT_EQ(f.device->SetRenderTarget(back, nullptr), D3D_OK);
  level->Release();
  back->Release();

  ID3DXSprite* sprite = nullptr;
  ASSERT_EQ(D3DXCreateSprite(f.device, &sprite), D3D_OK);
  const D3DXVECTOR2 at = {4.0f, 4.0f};
  ASSERT_EQ(sprite->Draw(target, nullptr, nullptr, nullptr, 0.0f, &at, 0xFFFFFFFF), D3D_OK);
  EXPECT_EQ(BoundFramebuffer(), 0) << "after a sprite";
  sprite->Release();
  target->Release();

  ASSERT_EQ(f.device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
  EXPECT_EQ(BoundFramebuffer(), 0) << "after Present";
  f.Snapshot("gl-state-framebuffer");
  EXPECT_EQ(BoundFramebuffer(), 0) << "after reading the back buffer";
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(GLState, AnErrorLeftByAnotherGLCallDoesNotFailTheNextTexture) {
  GLFixture f(64, 48);
  for (UINT side : {8u, 16u, 64u, 256u}) {
    glEnable(0x7FFF);  // GL_INVALID_ENUM, left unread as a toolkit would leave it
    IDirect3DTexture8* texture = nullptr;
    EXPECT_EQ(
        f.device->CreateTexture(side, side / 2, 1, D3DUSAGE_RENDERTARGET, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT, &texture),
        D3D_OK)
        << side;
    if (texture != nullptr) texture->Release();
  }
  glEnable(0x7FFF);
  RgbaImage picture;
  EXPECT_TRUE(ReadBackBuffer(f.device, picture));
}

// The switch is read once per run: each case runs in a fresh child process.
class GLCheckSwitch : public ::testing::Test {
 protected:
  void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(GLCheckSwitch, NamesTheCallBeforeWhichAnErrorWasLeft) {
  EXPECT_EXIT(
      {
        setenv("QUARNEL_GL_CHECK", "1", 1);
        unsetenv("MESA_DEBUG");  // Mesa's own report of the same error
        GLFixture f;
        glEnable(0x7FFF);
        f.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        glEnable(0x7FFF);
        f.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);  // the same report is not repeated
        std::exit(0);
      },
      ::testing::ExitedWithCode(0),
      "^quarnel: GL error GL_INVALID_ENUM before Clear \\(left by a GL call outside the device\\)\n$");
}

TEST_F(GLCheckSwitch, IsQuietAboutAFrameWithoutErrors) {
  EXPECT_EXIT(
      {
        setenv("QUARNEL_GL_CHECK", "1", 1);
        unsetenv("MESA_DEBUG");  // Mesa's own report of the same error
        GLFixture f;
        f.DrawRect(-1.0f, 1.0f, 0.0f, 0.0f, 0.5f, 0xFFFF0000);
        f.device->Present(nullptr, nullptr, nullptr, nullptr);
        std::fputs("done\n", stderr);
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "^done\n$");
}

TEST_F(GLCheckSwitch, IsOffUnlessSet) {
  EXPECT_EXIT(
      {
        unsetenv("QUARNEL_GL_CHECK");
        unsetenv("MESA_DEBUG");
        GLFixture f;
        glEnable(0x7FFF);
        f.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        std::fputs("done\n", stderr);
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "^done\n$");
}

}  // namespace
