#pragma once
// A benchmark's renderer reports its faults on standard error: numbers measured over a fault mean little.
#include <cstdio>
#include <string>

#include "draw/render_state.h"

inline void ReportToStderr(RenderState& state) {
  state.callbacks.fatalError = [](const std::string& text) { std::fprintf(stderr, "fatal: %s\n", text.c_str()); };
}
