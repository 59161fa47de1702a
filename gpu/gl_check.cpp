#include "gpu/gl_check.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>
#include <string>

#include "gpu/gl_objects.h"
#include "gpu/gpu_messages.h"

namespace {

bool CheckSwitchedOn() {
  static const bool on = [] {
    const char* value = std::getenv("QUARNEL_GL_CHECK");
    return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
  }();
  return on;
}

std::string ErrorName(GLenum error) {
  switch (error) {
    case GL_INVALID_ENUM: return "GL_INVALID_ENUM";
    case GL_INVALID_VALUE: return "GL_INVALID_VALUE";
    case GL_INVALID_OPERATION: return "GL_INVALID_OPERATION";
    case GL_STACK_OVERFLOW: return "GL_STACK_OVERFLOW";
    case GL_STACK_UNDERFLOW: return "GL_STACK_UNDERFLOW";
    case GL_OUT_OF_MEMORY: return "GL_OUT_OF_MEMORY";
    case GL_INVALID_FRAMEBUFFER_OPERATION: return "GL_INVALID_FRAMEBUFFER_OPERATION";
    default: {
      char hex[16];
      std::snprintf(hex, sizeof hex, "0x%04X", unsigned(error));
      return hex;
    }
  }
}

// Process-wide (README, "Process-wide state"): the switch (CheckSwitchedOn, read once) and the texts
// reported so far.
// Reports every error flag that is set, each text once per run (also with devices in several threads:
// the timeline draws its pictures in one of its own).
void ReportErrors(const char* call, bool leftBefore) {
  static std::mutex reportedMutex;
  static std::set<std::string> reported;
  for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
    const std::string text = GLErrorText(ErrorName(error), call, leftBefore);
    std::lock_guard lock(reportedMutex);
    if (reported.insert(text).second) std::fprintf(stderr, "%s\n", text.c_str());
  }
}

}  // namespace

void DiscardGLErrors() {
  while (glGetError() != GL_NO_ERROR) {
  }
}

GLCallCheck::GLCallCheck(const char* call) : call_(call) {
  if (CheckSwitchedOn()) ReportErrors(call_, true);
}

GLCallCheck::~GLCallCheck() {
  if (CheckSwitchedOn()) ReportErrors(call_, false);
}
