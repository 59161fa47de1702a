#pragma once
// An offscreen OpenGL 2.1 compatibility context on Mesa's surfaceless EGL platform (no display needed).
#include <memory>
#include <string>

class EglContext {
 public:
  // nullptr when no such context can be made; whyNot then says why.
  static std::unique_ptr<EglContext> Create(std::string& whyNot);
  ~EglContext();
  void MakeCurrent();

 private:
  EglContext(void* display, void* context) : display_(display), context_(context) {}
  void* display_;
  void* context_;
};
