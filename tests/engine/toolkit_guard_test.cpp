// The guard around everything the window toolkit calls: what an entry point raises is shown, never
// passed on to the toolkit.
#include "engine/toolkit_guard.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "scene/errors.h"
#include "engine/engine_messages.h"

namespace {

TEST(ToolkitGuard, WhatAnEntryPointRaisesIsShownAndGoesNoFurther) {
  std::vector<std::string> shown;
  SetErrorDisplay([&shown](const std::string& text) { shown.push_back(text); });
  bool ran = false;
  EXPECT_NO_THROW(FromToolkit([&ran] { ran = true; }));
  EXPECT_TRUE(ran);
  EXPECT_TRUE(shown.empty());
  EXPECT_NO_THROW(FromToolkit([] { throw RangeError("'-5' is out of range"); }));
  EXPECT_NO_THROW(FromToolkit([] { throw 42; }));
  EXPECT_EQ(shown, (std::vector<std::string>{"'-5' is out of range", kMsgUnknownError}));
}

TEST(ToolkitGuard, ADisplayThatFailsItselfEndsNothing) {
  SetErrorDisplay([](const std::string&) { throw std::runtime_error("no display"); });
  EXPECT_NO_THROW(FromToolkit([] { throw std::runtime_error("first"); }));
  SetErrorDisplay({});
}

}  // namespace
