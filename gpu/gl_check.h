#pragma once
// Reading GL's error flags. GL keeps an error until someone reads it, so a check of one call's result
// first reads away what earlier calls left.
//
// The debug switch: with QUARNEL_GL_CHECK=1 in the environment, every device call that issues GL calls
// reads the flags when it starts (errors left by GL calls outside the device: the window toolkit's, the
// program's) and when it ends (errors its own GL calls raised), and names the call and the error on
// standard error, each combination once per run.

void DiscardGLErrors();

class GLCallCheck {
 public:
  explicit GLCallCheck(const char* call);  // the context must be current; call: a literal
  ~GLCallCheck();
  GLCallCheck(const GLCallCheck&) = delete;
  GLCallCheck& operator=(const GLCallCheck&) = delete;

 private:
  const char* call_;
};
