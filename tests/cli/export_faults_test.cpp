// quarnel --export when things go wrong: other locales, signals, leftovers of killed exports, long names,
// sizes the video cannot take, folders with earlier frames, a damaged MP3, links. Run as a user would.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <filesystem>
#include <optional>
#include <thread>

#include "support/demo_folder.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

// Names in folder, sorted.
std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

bool HasTemporary(const std::string& folder) {
  for (const std::string& name : Names(folder))
    if (name.rfind(".partial-", 0) == 0) return true;
  return false;
}

class ExportFaults : public ::testing::Test {
 protected:
  CommandResult Quarnel(const std::string& args) { return RunCommand(std::string(QUARNEL_BINARY) + " " + args); }

  // Starts quarnel with args (no shell), its output into out/program.out.
  pid_t Start(const std::vector<std::string>& args) {
    std::vector<char*> argv{const_cast<char*>(QUARNEL_BINARY)};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, (log + "/program.out").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = -1;
    posix_spawn(&pid, QUARNEL_BINARY, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
  }

  // Polls until condition holds or the deadline passes.
  static bool Within(std::chrono::seconds bound, const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (std::chrono::steady_clock::now() < deadline) {
      if (condition()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return condition();
  }

  TempDir dir;
  const std::string data = Folder("data"), out = Folder("out"), log = Folder("log");

 private:
  std::string Folder(const std::string& name) {
    fs::create_directories(dir / name);
    return dir / name;
  }
};

}  // namespace

// Under a locale that writes decimals with a comma (a preset written with commas), the video is made and
// is as long as the demo: every number handed to ffmpeg is written with a '.'.
TEST_F(ExportFaults, VideoUnderACommaLocale) {
  ASSERT_EQ(MakeDemoFolder(data, 1500), "");
  std::string preset = ReadFile(data + "/scene0.txt");
  for (size_t at; (at = preset.find("\r\n2.9280\r\n")) != std::string::npos;) preset[at + 3] = ',';
  WriteFile(data + "/scene0.txt", preset);
  const std::string prefix = "LC_ALL=de_DE.UTF-8 ";
  const CommandResult check = RunCommand(prefix + QUARNEL_BINARY + " --check " + data);
  ASSERT_EQ(check.status, 0) << check.output;
  const CommandResult result =
      RunCommand(prefix + QUARNEL_BINARY + " --export " + out + "/demo.mp4 --fps 10 --size 160x120 " + data);
  ASSERT_EQ(result.status, 0) << result.output;
  const CommandResult duration =
      RunCommand("ffprobe -v error -show_entries format=duration -of csv=p=0 " + out + "/demo.mp4");
  EXPECT_NEAR(std::stod(duration.output), 1.6, 0.1) << duration.output;
}

// Ctrl+C or SIGTERM while the video or the frames are written: the temporary goes, ffmpeg ends, the earlier
// result stays, and the program ends by the signal.
class ExportSignal : public ExportFaults, public ::testing::WithParamInterface<std::tuple<int, const char*>> {};

TEST_P(ExportSignal, RemovesTheTemporaryAndKeepsTheEarlierResult) {
  const auto [signalNumber, target] = GetParam();
  ASSERT_EQ(MakeDemoFolder(data, 60000), "");
  const std::string earlier = out + "/earlier.txt";
  WriteFile(earlier, "kept");
  const pid_t program = Start({"--export", out + "/" + target, "--fps", "30", "--size", "320x240", data});
  ASSERT_GT(program, 0);
  const bool temporarySeen = Within(std::chrono::seconds(60), [&] { return HasTemporary(out); });
  kill(program, signalNumber);
  int status = 0;
  ASSERT_TRUE(Within(std::chrono::seconds(30), [&] { return waitpid(program, &status, WNOHANG) == program; }))
      << "the export did not end";
  ASSERT_TRUE(temporarySeen) << ReadFile(log + "/program.out");
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signalNumber) << ReadFile(log + "/program.out");
  EXPECT_EQ(Names(out), std::vector<std::string>{"earlier.txt"}) << ReadFile(log + "/program.out");
  const CommandResult encoders = RunCommand("pgrep -f -- '" + out + "/[.]partial-'");
  EXPECT_NE(encoders.status, 0) << "ffmpeg still runs: " << encoders.output;
}

INSTANTIATE_TEST_SUITE_P(VideoAndFrames, ExportSignal,
                         ::testing::Combine(::testing::Values(SIGINT, SIGTERM),
                                            ::testing::Values("demo.mp4", "frames/")));

// An export killed outright leaves its temporary; the next export to the folder removes it (and those of
// other dead exports), and leaves the temporary of an export that still runs.
TEST_F(ExportFaults, NextExportRemovesTemporariesOfDeadExports) {
  ASSERT_EQ(MakeDemoFolder(data, 300), "");
  const std::string dead = std::to_string(EndedProcessId());
  WriteFile(out + "/" + (".partial-" + dead + "-demo.mp4"), "left by a killed export");
  fs::create_directory(out + "/" + (".partial-" + dead + "-frames"));
  WriteFile(out + "/" + (".partial-" + dead + "-frames/frame000000.png"), "x");
  WriteFile(out + "/.partial-1-other.mp4", "process 1 always runs");
  ASSERT_EQ(Quarnel("--export " + out + "/demo.mp4 --fps 10 --size 160x120 " + data).status, 0);
  EXPECT_EQ(Names(out), (std::vector<std::string>{".partial-1-other.mp4", "demo.mp4"}));
}

// A target name that fits a folder entry can be exported to, although the temporary's name is longer.
TEST_F(ExportFaults, LongestNamesExport) {
  ASSERT_EQ(MakeDemoFolder(data, 300), "");
  const std::string video = std::string(251, 'v') + ".mp4", frames = std::string(255, 'f');
  CommandResult result = Quarnel("--export " + out + "/" + video + " --fps 10 --size 160x120 " + data);
  EXPECT_EQ(result.status, 0) << result.output;
  result = Quarnel("--export " + out + "/" + frames + "/ --fps 10 --size 160x120 " + data);
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_EQ(Names(out), (std::vector<std::string>{frames, video}));
  EXPECT_EQ(Names(out + "/" + frames).size(), 4u);
}

// H.264 in yuv420p needs even sides: an odd size is refused before anything starts, naming the size;
// frames take it.
TEST_F(ExportFaults, OddSizesAreRefusedForVideoOnly) {
  ASSERT_EQ(MakeDemoFolder(data, 300), "");
  for (const std::string size : {"161x121", "1x1", "160x121"}) {
    const CommandResult result = Quarnel("--export " + out + "/demo.mp4 --size " + size + " " + data);
    EXPECT_EQ(result.status, 1) << result.output;
    EXPECT_NE(result.output.find("an H.264 video needs an even width and height, not " + size), std::string::npos)
        << result.output;
  }
  EXPECT_TRUE(Names(out).empty());
  const CommandResult frames = Quarnel("--export " + out + "/frames/ --fps 10 --size 161x121 " + data);
  EXPECT_EQ(frames.status, 0) << frames.output;
  EXPECT_EQ(Names(out + "/frames").size(), 4u);
}

// A folder of an earlier, longer export ends with exactly this export's frames; a folder with other
// files is refused and left as it was.
TEST_F(ExportFaults, FramesFolderHoldsOnlyThisExportsFrames) {
  ASSERT_EQ(MakeDemoFolder(data, 1000), "");
  const std::string frames = out + "/frames/";
  ASSERT_EQ(Quarnel("--export " + frames + " --fps 20 --size 160x120 " + data).status, 0);
  ASSERT_EQ(Names(frames).size(), 21u);
  const CommandResult again = Quarnel("--export " + frames + " --fps 10 --size 160x120 " + data);
  ASSERT_EQ(again.status, 0) << again.output;
  EXPECT_EQ(Names(frames).size(), 11u);
  EXPECT_EQ(Names(frames).back(), "frame000010.png");

  WriteFile(frames + "notes.txt", "mine");
  const CommandResult refused = Quarnel("--export " + frames + " --fps 5 --size 160x120 " + data);
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.output.find(frames + " holds more than an earlier export's frames (notes.txt)"), std::string::npos)
      << refused.output;
  EXPECT_EQ(Names(frames).size(), 12u);
  EXPECT_FALSE(HasTemporary(out));
}

// An MP3 damaged after its first second: --check names the file and where decoding stops, and the export
// fails instead of writing a video with gaps in its sound.
TEST_F(ExportFaults, DamagedMp3FailsTheCheckAndTheExport) {
  ASSERT_EQ(MakeDemoFolder(data, 3000), "");
  std::string mp3 = ReadFile(DemoMp3Path(data));
  for (size_t i = mp3.size() / 2; i < mp3.size() * 3 / 4; ++i) mp3[i] = char(i * 7919 % 251);
  WriteFile(DemoMp3Path(data), mp3);
  const CommandResult check = Quarnel("--check " + data);
  EXPECT_EQ(check.status, 1) << check.output;
  EXPECT_NE(check.output.find(DemoMp3Path(data) + ": the sound cannot be decoded after 1."), std::string::npos)
      << check.output;
  const CommandResult result = Quarnel("--export " + out + "/demo.mp4 --fps 10 --size 160x120 " + data);
  EXPECT_EQ(result.status, 1) << result.output;
  EXPECT_TRUE(Names(out).empty());
}

// A video exported to a symbolic link lands in the file the link names; the link stays.
TEST_F(ExportFaults, ExportWritesThroughALink) {
  ASSERT_EQ(MakeDemoFolder(data, 300), "");
  WriteFile(out + "/real.mp4", "old");
  fs::create_symlink("real.mp4", out + "/link.mp4");
  const CommandResult result = Quarnel("--export " + out + "/link.mp4 --fps 10 --size 160x120 " + data);
  ASSERT_EQ(result.status, 0) << result.output;
  EXPECT_TRUE(fs::is_symlink(out + "/link.mp4"));
  EXPECT_GT(fs::file_size(out + "/real.mp4"), 1000u);
}

// ffmpeg reads "name:" at a path's start as a protocol: from a data folder "file:v2/data" it would read
// another file (v2/data/song.mp3), from "demo:v2/data" none. Both export with their own sound.
TEST_F(ExportFaults, PathsWithAColonAreOnlyPaths) {
  for (const std::string folder : {"file:v2", "demo:v2"}) {
    SCOPED_TRACE(folder);
    ASSERT_EQ(MakeDemoFolder(out + "/" + folder + "/data", 500), "");
    // The sequence names the MP3 by the name the data folder finds it under.
    std::string sequence = ReadFile(out + "/" + folder + "/data/sceneseq.txt");
    sequence.replace(sequence.find(out + "/" + folder + "/data/song.mp3"), (out + "/" + folder + "/data/").size(), "");
    WriteFile(out + "/" + folder + "/data/sceneseq.txt", sequence);
    const CommandResult result = RunCommand("cd '" + out + "' && " + QUARNEL_BINARY + " --export " + folder +
                                            "/demo.mp4 --fps 10 --size 160x120 " + folder + "/data");
    ASSERT_EQ(result.status, 0) << result.output;
    const CommandResult streams = RunCommand(
        "ffprobe -v error -show_entries stream=codec_type -of csv=p=0 'file:" + out + "/" + folder + "/demo.mp4'");
    EXPECT_EQ(streams.output, "video\naudio\n");
  }
}

// A sound shorter than the demo (1 s of a 2.5 s demo) is warned about with both lengths and padded with
// silence: the video's sound lasts as long as its picture.
TEST_F(ExportFaults, ShortSoundIsPaddedWithSilence) {
  ASSERT_EQ(MakeDemoFolder(data, 900), "");
  std::string sequence = ReadFile(data + "/sceneseq.txt");
  sequence.replace(sequence.find("900"), 3, "2500");  // the demo's length, the entry still ends at 900
  WriteFile(data + "/sceneseq.txt", sequence);
  const CommandResult result = Quarnel("--export " + out + "/demo.mp4 --fps 10 --size 160x120 " + data);
  ASSERT_EQ(result.status, 0) << result.output;
  EXPECT_NE(result.output.find("warning: " + DemoMp3Path(data) + ": the sound lasts 1.0 s, the demo 2.5 s"),
            std::string::npos)
      << result.output;
  const CommandResult audio = RunCommand(
      "ffprobe -v error -select_streams a:0 -show_entries stream=duration -of "
      "csv=p=0 " +
      out + "/demo.mp4");
  EXPECT_NEAR(std::stod(audio.output), 2.6, 0.1) << audio.output;
}

// An encoder that fails or dies in the middle names what happened, and no video is left.
TEST_F(ExportFaults, AFailingEncoderSaysWhy) {
  ASSERT_EQ(MakeDemoFolder(data, 1000), "");
  const std::string bin = dir / "bin";
  fs::create_directories(bin);
  const std::pair<std::string, std::string> encoders[] = {
      {"head -c 200000 >/dev/null; exit 3", "ffmpeg failed with exit status 3"},
      {"head -c 200000 >/dev/null; kill -9 $$", "ffmpeg was ended by signal 9 (Killed)"}};
  for (const auto& [script, reason] : encoders) {
    WriteFile(bin + "/ffmpeg", "#!/bin/sh\n" + script + "\n");
    fs::permissions(bin + "/ffmpeg", fs::perms::owner_all);
    const CommandResult result = RunCommand("PATH='" + bin + "':$PATH " + QUARNEL_BINARY + " --export " + out +
                                            "/demo.mp4 --fps 10 --size 160x120 " + data);
    EXPECT_EQ(result.status, 1) << result.output;
    EXPECT_LT(result.output.find(reason), result.output.find("failed to write " + out + "/demo.mp4")) << result.output;
    EXPECT_NE(result.output.find("failed to write"), std::string::npos) << result.output;
    EXPECT_TRUE(Names(out).empty());
  }
}

// Targets that cannot be what was asked for are refused by name before a frame is drawn, and nothing is
// made: a folder given without the slash, a name that no video format has, a folder that does not exist
// (for frames too: a mistyped path makes no folders, as for --render).
TEST_F(ExportFaults, TargetsThatCannotBeWrittenAreNamed) {
  ASSERT_EQ(MakeDemoFolder(data, 300), "");
  fs::create_directories(out + "/frames");
  const std::pair<std::string, std::string> cases[] = {
      {out + "/frames", out + "/frames is a folder: for PNG frames in it write " + out + "/frames/ (with the slash)"},
      {out + "/demo.xyz", out + "/demo.xyz: a video's name ends in .mp4, .m4v, .mov, .mkv or .avi"},
      {out + "/missing/deeper/", out + "/missing: No such file or directory"},
      {out + "/missing/demo.mp4", out + "/missing: No such file or directory"}};
  for (const auto& [target, message] : cases) {
    const CommandResult result = Quarnel("--export " + target + " --fps 10 --size 160x120 " + data);
    EXPECT_EQ(result.status, 1) << target;
    EXPECT_NE(result.output.find(message), std::string::npos) << result.output;
    EXPECT_EQ(result.output.find("frames/s"), std::string::npos) << "no frame drawn: " << result.output;
  }
  EXPECT_EQ(Names(out), std::vector<std::string>{"frames"});
  EXPECT_TRUE(Names(out + "/frames").empty());
}
