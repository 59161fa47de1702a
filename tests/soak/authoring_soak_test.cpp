// The scripted authoring soak, a short walk through development mode's document: edits, saves into the
// picked preset's own file, edits of it and of the sequence from outside, hot reloads and the questions
// about changes held over unsaved edits, undo and redo, with frames drawn on the real OpenGL device
// offscreen.
#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "soak/authoring_soak.h"

namespace {

std::string Faults(const SoakReport& report) {
  std::string text;
  for (const std::string& fault : report.faults) text += fault + "\n";
  return text;
}

TEST(AuthoringSoak, AWalkOverEveryActionRunsCleanForEachSeed) {
  for (uint64_t seed : {1u, 2u}) {
    TempDir dir;
    SoakOptions options;
    options.workDir = dir.Path();
    options.seed = seed;
    options.maxSteps = 250;
    const SoakReport report = RunAuthoringSoak(options, {});
    EXPECT_TRUE(report.faults.empty()) << "seed " << seed << ":\n" << Faults(report);
    EXPECT_EQ(report.steps, 250u);
    EXPECT_GT(report.saves, 10u);
    EXPECT_GT(report.outsideEdits, 10u);
    EXPECT_GT(report.reloads, 5u);
    EXPECT_GT(report.undos, 10u);
    EXPECT_GT(report.questions, 5u) << "outside changes over unsaved edits are held and offered";
    EXPECT_GT(report.frames, 250u);
  }
}

}  // namespace
