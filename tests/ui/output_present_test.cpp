// The OpenGL device presenting into a real output view (CTest runs it on an X server of its own). In a view of the
// back buffer's size it draws straight into the view's buffers; in any other size it scales its own back
// buffer into it. Either way the view shows what the same calls draw offscreen, turned the right way up,
// culled and depth-tested alike, and what a frame leaves untouched is black.
#include <gtest/gtest.h>

#include <functional>

#include "draw/gl_fixture.h"
#include "support/fltk_pump.h"
#include "ui/output_view.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>  // last: X11's macros clash with GoogleTest's names

namespace {

constexpr UINT kWidthPx = 96, kHeightPx = 64;
constexpr D3DVIEWPORT8 kLetterbox = {0, 8, kWidthPx, 48, 0.0f, 1.0f};  // bars of 8 rows above and below
constexpr D3DCOLOR kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kYellow = 0xFFFFFF00,
                   kWhite = 0xFFFFFFFF;

// A letterboxed frame: a clockwise triangle at the top left (drawn), a counter-clockwise one at the
// bottom right (culled), and a near yellow rectangle partly in front of a far white one.
void DrawLetterboxedFrame(GLFixture& f) {
  IDirect3DDevice8* device = f.device;
  device->SetViewport(&kLetterbox);
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kBlue, 1.0f, 0);
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  f.Draw<ColourVertex>(D3DPT_TRIANGLELIST, {{-1, 1, 0.5f, kRed}, {-0.4f, 1, 0.5f, kRed}, {-1, 0.2f, 0.5f, kRed}},
                       kColourFvf, 1);
  f.Draw<ColourVertex>(D3DPT_TRIANGLELIST, {{1, -1, 0.5f, kGreen}, {1, -0.2f, 0.5f, kGreen}, {0.4f, -1, 0.5f, kGreen}},
                       kColourFvf, 1);
  f.DrawRect(-0.5f, 0.3f, 0.1f, -0.3f, 0.2f, kYellow);
  f.DrawRect(-0.1f, 0.3f, 0.5f, -0.3f, 0.6f, kWhite);
}

class OutputPresent : public ::testing::Test {
 protected:
  void SetUp() override {
    window_.end();
    window_.show();
    ASSERT_TRUE(PumpUntil([&] { return view_.visible() && fl_xid(&view_) != 0; }));
    Fl::flush();
    window_device_ = std::make_unique<GLFixture>(kWidthPx, kHeightPx, &view_);
    ASSERT_NE(window_device_->device, nullptr);
  }

  // Resizes the view and waits until the X server has it in that size.
  void ResizeView(int widthPx, int heightPx) {
    window_.resize(window_.x(), window_.y(), widthPx, heightPx);
    view_.resize(0, 0, widthPx, heightPx);
    ASSERT_TRUE(PumpUntil([&] {
      XWindowAttributes attributes{};
      XGetWindowAttributes(fl_display, fl_xid(&view_), &attributes);
      return attributes.width == widthPx && attributes.height == heightPx;
    }));
  }

  // The view's pixels as the X server shows them once shown(picture) holds (at most ten seconds), a
  // frame drawn by drawFrame and presented in each turn of the event loop, as the program does (the
  // toolkit may paint the view black in between, when it is exposed or resized).
  RgbaImage Shown(const std::function<void()>& drawFrame, const std::function<bool(const RgbaImage&)>& shown) {
    RgbaImage picture;
    PumpUntil([&] {
      drawFrame();
      window_device_->device->Present(nullptr, nullptr, nullptr, nullptr);
      picture = ReadView();
      return shown(picture);
    });
    return picture;
  }

  RgbaImage ReadView() {
    const int w = view_.w(), h = view_.h();
    RgbaImage picture{uint32_t(w), uint32_t(h), std::vector<uint8_t>(size_t(w) * h * 4, 0)};
    XImage* image = XGetImage(fl_display, fl_xid(&view_), 0, 0, unsigned(w), unsigned(h), AllPlanes, ZPixmap);
    if (image == nullptr) return {};
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const unsigned long pixel = XGetPixel(image, x, y);
        uint8_t* out = &picture.rgba[(size_t(y) * w + x) * 4];
        out[0] = uint8_t(pixel >> 16), out[1] = uint8_t(pixel >> 8), out[2] = uint8_t(pixel), out[3] = 255;
      }
    XDestroyImage(image);
    return picture;
  }

  Fl_Window window_{100, 100, int(kWidthPx), int(kHeightPx)};
  OutputView view_{0, 0, int(kWidthPx), int(kHeightPx)};
  std::unique_ptr<GLFixture> window_device_;
};

// The share of pixels of a that differ clearly from b (same size) in some channel.
double Differing(const RgbaImage& a, const RgbaImage& b) {
  if (a.widthPx != b.widthPx || a.heightPx != b.heightPx) return 1.0;
  size_t count = 0;
  for (uint32_t y = 0; y < a.heightPx; ++y)
    for (uint32_t x = 0; x < a.widthPx; ++x) {
      const uint8_t *p = a.Pixel(x, y), *q = b.Pixel(x, y);
      count += std::abs(p[0] - q[0]) > 8 || std::abs(p[1] - q[1]) > 8 || std::abs(p[2] - q[2]) > 8;
    }
  return double(count) / (double(a.widthPx) * a.heightPx);
}

Rgb At(const RgbaImage& picture, uint32_t x, uint32_t y) {
  const uint8_t* p = picture.Pixel(x, y);
  return {p[0], p[1], p[2]};
}

RgbaImage OffscreenLetterboxedFrame() {
  GLFixture offscreen(kWidthPx, kHeightPx);
  DrawLetterboxedFrame(offscreen);
  RgbaImage picture;
  EXPECT_TRUE(ReadBackBuffer(offscreen.device, picture));
  return picture;
}

TEST_F(OutputPresent, ViewOfTheBackBuffersSizeShowsTheOffscreenPicture) {
  const RgbaImage offscreen = OffscreenLetterboxedFrame();
  ASSERT_EQ(offscreen.widthPx, kWidthPx);
  EXPECT_TRUE(Near(At(offscreen, 3, 10), {255, 0, 0}));       // the clockwise triangle, top left
  EXPECT_TRUE(Near(At(offscreen, 92, 53), {0, 0, 255}));      // the counter-clockwise one is culled
  EXPECT_TRUE(Near(At(offscreen, 48, 32), {255, 255, 0}));    // the near rectangle in front
  EXPECT_TRUE(Near(At(offscreen, 60, 32), {255, 255, 255}));  // the far one beside it
  EXPECT_TRUE(Near(At(offscreen, 48, 2), {0, 0, 0}));         // a bar

  DrawLetterboxedFrame(*window_device_);
  RgbaImage before;
  ASSERT_TRUE(ReadBackBuffer(window_device_->device, before));
  EXPECT_LT(Differing(before, offscreen), 0.01) << "the back buffer read before Present";
  const RgbaImage shown = Shown([&] { DrawLetterboxedFrame(*window_device_); },
                                [&](const RgbaImage& view) { return Differing(view, offscreen) < 0.01; });
  EXPECT_EQ(WritePng(TestOutPath("output-present-direct.png"), shown), "");
  EXPECT_LT(Differing(shown, offscreen), 0.01) << "see output-present-direct.png";
}

TEST_F(OutputPresent, WhatAFrameLeavesUntouchedIsBlackNotAnEarlierFrame) {
  IDirect3DDevice8* device = window_device_->device;
  for (int frame = 0; frame < 2; ++frame) {  // both buffers of the view red all over
    device->Clear(0, nullptr, D3DCLEAR_TARGET, kRed, 1.0f, 0);
    device->Present(nullptr, nullptr, nullptr, nullptr);
  }
  device->SetViewport(&kLetterbox);
  const RgbaImage shown = Shown([&] { device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlue, 1.0f, 0); },
                                [](const RgbaImage& view) {
                                  return Near(At(view, 48, 32), {0, 0, 255});
                                });
  EXPECT_EQ(WritePng(TestOutPath("output-present-bars.png"), shown), "");
  for (const uint32_t y : {0u, 7u, 56u, 63u}) EXPECT_TRUE(Near(At(shown, 48, y), {0, 0, 0})) << "bar row " << y;
  for (const uint32_t y : {8u, 55u}) EXPECT_TRUE(Near(At(shown, 48, y), {0, 0, 255})) << "picture row " << y;
}

TEST_F(OutputPresent, ResizedViewShowsTheBackBufferScaledThenDirectAgain) {
  const RgbaImage offscreen = OffscreenLetterboxedFrame();
  const auto drawFrame = [&] { DrawLetterboxedFrame(*window_device_); };
  ResizeView(2 * kWidthPx, 2 * kHeightPx);
  const RgbaImage scaled = Shown(drawFrame, [](const RgbaImage& view) {
    return Near(At(view, 96, 64), {255, 255, 0});
  });
  EXPECT_EQ(WritePng(TestOutPath("output-present-scaled.png"), scaled), "");
  ASSERT_EQ(scaled.widthPx, 2 * kWidthPx);
  for (const uint32_t y : {2u, 40u, 64u, 100u, 124u})
    for (const uint32_t x : {4u, 96u, 120u, 186u})
      EXPECT_TRUE(Near(At(scaled, x, y), At(offscreen, x / 2, y / 2))) << x << "," << y;

  ResizeView(kWidthPx, kHeightPx);
  const RgbaImage direct = Shown(drawFrame, [&](const RgbaImage& view) { return Differing(view, offscreen) < 0.01; });
  EXPECT_LT(Differing(direct, offscreen), 0.01);
}

}  // namespace
