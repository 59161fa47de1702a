#pragma once
// A renderer started by a test fails the test with each fault it reports.
#include <gtest/gtest.h>

#include <string>

#include "draw/render_state.h"

inline void FailOnFatalError(RenderState& state) {
  state.callbacks.fatalError = [](const std::string& text) { ADD_FAILURE() << "fatal: " << text; };
}
