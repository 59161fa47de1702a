#include "engine/toolkit_guard.h"

#include <cstdio>
#include <exception>

#include "engine/engine_messages.h"

namespace {

// Process-wide (README, "Process-wide state"): the one error display the guard shows messages in.
std::function<void(const std::string&)>& Display() {
  static std::function<void(const std::string&)> display;
  return display;
}

void Show(const std::string& text) noexcept {
  try {
    if (Display()) return Display()(text);
  } catch (...) {
    // The display itself failed: the text still goes somewhere.
  }
  std::fprintf(stderr, "%s\n", text.c_str());
}

}  // namespace

void SetErrorDisplay(std::function<void(const std::string&)> show) { Display() = std::move(show); }

void FromToolkit(const std::function<void()>& action) noexcept {
  try {
    action();
  } catch (const std::exception& error) {
    Show(error.what());
  } catch (...) {
    Show(kMsgUnknownError);
  }
}
