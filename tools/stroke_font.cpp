#include "tools/stroke_font.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

// Angles are in degrees, counter-clockwise from the +x axis; an arc runs from startDeg over sweepDeg.
namespace {

struct Stroke {
  bool isArc;
  float x0, y0, x1, y1;      // line: end points
  float cx, cy, radius;      // arc: centre and radius
  float startDeg, sweepDeg;  // arc: extent
};

constexpr Stroke Line(float x0, float y0, float x1, float y1) { return {false, x0, y0, x1, y1, 0, 0, 0, 0, 0}; }
constexpr Stroke Arc(float cx, float cy, float radius, float startDeg, float sweepDeg) {
  return {true, 0, 0, 0, 0, cx, cy, radius, startDeg, sweepDeg};
}

struct Glyph {
  char letter;
  float width;
  int strokeCount;
  Stroke strokes[3];
};

const Glyph kGlyphs[] = {
    {'a', 1.0f, 2, {Arc(0.5f, 0.5f, 0.5f, 0, 360), Line(1, 1, 1, 0)}},
    {'e', 1.0f, 2, {Line(0, 0.5f, 1, 0.5f), Arc(0.5f, 0.5f, 0.5f, 0, 320)}},
    {'l', 0.0f, 1, {Line(0, 1.5f, 0, 0)}},
    {'n', 1.0f, 3, {Line(0, 1, 0, 0), Arc(0.5f, 0.5f, 0.5f, 0, 180), Line(1, 0.5f, 1, 0)}},
    {'q', 1.0f, 2, {Arc(0.5f, 0.5f, 0.5f, 0, 360), Line(1, 1, 1, -0.5f)}},
    {'r', 0.8f, 2, {Line(0, 1, 0, 0), Arc(0.7f, 0.3f, 0.7f, 90, 90)}},
    {'u', 1.0f, 3, {Line(0, 1, 0, 0.5f), Arc(0.5f, 0.5f, 0.5f, 180, 180), Line(1, 1, 1, 0)}},
};

constexpr float kLetterGap = 0.4f;
constexpr float kSpaceWidth = 0.6f;
constexpr float kStrokePi = 3.14159265f;

const Glyph* FindGlyph(char letter) {
  for (const Glyph& glyph : kGlyphs)
    if (glyph.letter == letter) return &glyph;
  return nullptr;
}

float Advance(char letter) {
  const Glyph* glyph = FindGlyph(letter);
  return (glyph ? glyph->width : kSpaceWidth) + kLetterGap;
}

float LineDistance(const Stroke& s, float x, float y) {
  const float dx = s.x1 - s.x0, dy = s.y1 - s.y0;
  const float lengthSq = dx * dx + dy * dy;
  const float t = lengthSq > 0 ? std::clamp(((x - s.x0) * dx + (y - s.y0) * dy) / lengthSq, 0.0f, 1.0f) : 0.0f;
  return std::hypot(x - (s.x0 + t * dx), y - (s.y0 + t * dy));
}

float ArcDistance(const Stroke& s, float x, float y) {
  float angleDeg = std::atan2(y - s.cy, x - s.cx) * 180.0f / kStrokePi;
  angleDeg = std::fmod(angleDeg - s.startDeg + 720.0f, 360.0f);
  if (angleDeg <= s.sweepDeg) return std::fabs(std::hypot(x - s.cx, y - s.cy) - s.radius);
  const float endDeg = s.startDeg + s.sweepDeg;
  const float sx = s.cx + s.radius * std::cos(s.startDeg * kStrokePi / 180.0f);
  const float sy = s.cy + s.radius * std::sin(s.startDeg * kStrokePi / 180.0f);
  const float ex = s.cx + s.radius * std::cos(endDeg * kStrokePi / 180.0f);
  const float ey = s.cy + s.radius * std::sin(endDeg * kStrokePi / 180.0f);
  return std::min(std::hypot(x - sx, y - sy), std::hypot(x - ex, y - ey));
}

}  // namespace

float StrokeTextWidth(const char* text) {
  const size_t length = std::strlen(text);
  float width = 0.0f;
  for (size_t i = 0; i < length; ++i) width += Advance(text[i]);
  return length > 0 ? width - kLetterGap : 0.0f;
}

float StrokeTextDistance(const char* text, float x, float y) {
  float best = std::numeric_limits<float>::max();
  float left = 0.0f;
  for (const char* c = text; *c; ++c) {
    if (const Glyph* glyph = FindGlyph(*c)) {
      for (int i = 0; i < glyph->strokeCount; ++i) {
        const Stroke& s = glyph->strokes[i];
        best = std::min(best, s.isArc ? ArcDistance(s, x - left, y) : LineDistance(s, x - left, y));
      }
    }
    left += Advance(*c);
  }
  return best;
}
