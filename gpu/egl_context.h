#pragma once
// An offscreen OpenGL 2.1 compatibility context on Mesa's surfaceless EGL platform (no display needed).
#include <memory>
#include <string>

class EglContext {
 public:
  // Makes the context (current) in made; returns "", or why no such context can be made (made empty).
  [[nodiscard]] static std::string Create(std::unique_ptr<EglContext>& made);
  ~EglContext();
  void MakeCurrent();

 private:
  EglContext(void* display, void* context) : display_(display), context_(context) {}
  void* display_;
  void* context_;
};
