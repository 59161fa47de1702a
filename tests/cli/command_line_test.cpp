// The arguments as the program reads them: what each command takes, and every refusal naming its argument.
#include "cli/command_line.h"

#include <gtest/gtest.h>

namespace {

CommandLine Read(const std::vector<std::string>& args) {
  CommandLine line;
  const std::string fault = ReadCommandLine(args, line);
  EXPECT_EQ(fault, "");
  return line;
}

TEST(CommandLine, ReadsEachCommandWithItsValuesAndOptions) {
  CommandLine line = Read({});
  EXPECT_EQ(line.command, Command::Play);
  EXPECT_FALSE(line.developmentMode);
  EXPECT_EQ(line.dataDir, "");

  line = Read({"-D", "--music", "--start", "4000", "--frame-step", "0", "mydata"});
  EXPECT_TRUE(line.developmentMode);
  EXPECT_TRUE(line.play.music);
  EXPECT_EQ(line.play.startMs, 4000u);
  EXPECT_EQ(line.play.frameStepMs, 0u) << "0 holds one moment";
  EXPECT_EQ(line.dataDir, "mydata");

  line = Read({"--render", "2147483647", "x.png", "--size", "64x48", "--fps", "240", "d"});
  EXPECT_EQ(line.command, Command::Render);
  EXPECT_EQ(line.demoTimeMs, 2147483647u);
  EXPECT_EQ(line.target, "x.png");
  EXPECT_EQ(line.widthPx, 64u);
  EXPECT_EQ(line.heightPx, 48u);
  EXPECT_EQ(line.rate.numerator, 240u);
  EXPECT_EQ(line.rate.denominator, 1u);
  EXPECT_EQ(line.dataDir, "d");

  line = Read({"-d", "--print-frame", "0", "./-d"});
  EXPECT_EQ(line.command, Command::PrintFrame);
  EXPECT_TRUE(line.developmentMode);
  EXPECT_EQ(line.dataDir, "./-d");

  EXPECT_EQ(Read({"--export", "out/"}).target, "out/");
  EXPECT_EQ(Read({"--export", "o.mp4"}).rate.numerator, 60u);
  line = Read({"--export", "o.mkv", "--fps", "30000/1001", "--from", "100", "--to", "200", "--codec", "ffv1", "--jobs",
               "3", "--no-music"});
  EXPECT_EQ(line.rate.numerator, 30000u);
  EXPECT_EQ(line.rate.denominator, 1001u);
  EXPECT_EQ(line.fromMs, 100u);
  EXPECT_EQ(line.toMs, 200u);
  EXPECT_EQ(line.codec, "ffv1");
  EXPECT_EQ(line.jobs, 3u);
  EXPECT_FALSE(line.withMusic);
  EXPECT_EQ(Read({"--max-fps", "0"}).play.maxFps, 0u) << "0: no cap";
  line = Read({"-d", "--osc", "9000"});
  EXPECT_EQ(line.play.oscPort, 9000u);
  EXPECT_EQ(line.play.oscAddress, "127.0.0.1") << "the loopback unless an address is given";
  line = Read({"-d", "--osc-address", "::", "--osc", "65535", "data"});
  EXPECT_EQ(line.play.oscPort, 65535u);
  EXPECT_EQ(line.play.oscAddress, "::");
  EXPECT_FALSE(Read({"-d"}).play.oscPort) << "off unless given";
  EXPECT_EQ(Read({"--new", "mine"}).target, "mine");
  EXPECT_EQ(Read({"--check"}).command, Command::Check);
  line = Read({"--guess-bpm", "mine/data"});
  EXPECT_EQ(line.command, Command::GuessBpm);
  EXPECT_EQ(line.dataDir, "mine/data");
  EXPECT_EQ(Read({"-h"}).command, Command::Help);
  EXPECT_EQ(Read({"--help"}).command, Command::Help);
  EXPECT_EQ(Read({"-v"}).command, Command::Version);
  EXPECT_EQ(Read({"--version"}).command, Command::Version);
}

struct Refusal {
  std::vector<std::string> args;
  std::string fault;
};

TEST(CommandLine, RefusesEveryWrongArgumentNamingIt) {
  const Refusal refusals[] = {
      {{"--bogus"}, "--bogus: no such option (quarnel --help lists them)"},
      {{"-x"}, "-x: no such option (quarnel --help lists them)"},
      {{"data", "--bogus"}, "--bogus: no such option (quarnel --help lists them)"},
      {{"--render", "abc", "x.png"}, "--render: 'abc' is not a whole number of milliseconds 0..2147483647"},
      {{"--render", "5"}, "--render: OUT.png is missing after it"},
      {{"--render"}, "--render: MS is missing after it"},
      {{"--start", "-1"}, "--start: '-1' is not a whole number of milliseconds 0..2147483647"},
      {{"--start"}, "--start: MS is missing after it"},
      {{"--start", "--music"}, "--start: MS is missing after it"},
      {{"--frame-step", "60001"}, "--frame-step: '60001' is not a whole number of milliseconds 0..60000"},
      {{"--frame-step", "1.5"}, "--frame-step: '1.5' is not a whole number of milliseconds 0..60000"},
      {{"--print-frame", "4294967296"},
       "--print-frame: '4294967296' is not a whole number of milliseconds 0..2147483647"},
      {{"--print-frame", "-5", "data"}, "--print-frame: '-5' is not a whole number of milliseconds 0..2147483647"},
      {{"--export", "o.mp4", "--fps", "0"},
       "--fps: '0' is not 1..240 frames per second, a whole number or a fraction (30000/1001)"},
      {{"--export", "o.mp4", "--fps", "1/2"},
       "--fps: '1/2' is not 1..240 frames per second, a whole number or a fraction (30000/1001)"},
      {{"--export", "o.mp4", "--jobs", "65"}, "--jobs: '65' is not a whole number 1..64"},
      {{"--export", "o.mp4", "--codec", "vp9"}, "--codec: 'vp9' is not h264, ffv1, png or prores"},
      {{"--export", "o.mp4", "--from", "-1"}, "--from: '-1' is not a whole number of milliseconds 0..2147483647"},
      {{"--export", "o.mp4", "--from", "9", "--to", "8"}, "--from: --from lies after --to"},
      {{"--export", "o.mp4", "--jobs", "2", "--jobs", "2"}, "--jobs: given twice"},
      {{"--render", "0", "x.png", "--jobs", "2"}, "--jobs: only for --export"},
      {{"--max-fps", "1001"}, "--max-fps: '1001' is not a whole number 0..1000 (0: no cap)"},
      {{"--export", "o.mp4", "--max-fps", "30"}, "--max-fps: only for playing the demo (the launcher or -d)"},
      {{"--export", "o.mp4", "--size", "640x"}, "--size: '640x' is not WIDTHxHEIGHT, each a whole number 1..8192"},
      {{"--export", "o.mp4", "--size"}, "--size: WxH is missing after it"},
      {{"--export", "o.mp4", "--fps", "30", "--fps", "30"}, "--fps: given twice"},
      {{"--render", "0", "x.png", "--size", "8x8", "--size", "8x8"}, "--size: given twice"},
      {{"--start", "1", "--start", "1"}, "--start: given twice"},
      {{"--frame-step", "1", "--frame-step", "2"}, "--frame-step: given twice"},
      {{"-d", "--music", "--music"}, "--music: given twice"},
      {{"--music"}, "--music: only with -d (the launcher has its Music switch)"},
      {{"--check", "--fps", "30"}, "--fps: only for --render and --export"},
      {{"--osc", "9000"}, "--osc: only with -d (the remote control edits development mode)"},
      {{"--export", "o.mp4", "--osc", "9000"}, "--osc: only with -d (the remote control edits development mode)"},
      {{"-d", "--print-frame", "0", "--osc", "9000"},
       "--osc: only with -d (the remote control edits development mode)"},
      {{"-d", "--osc", "0"}, "--osc: '0' is not a port 1..65535"},
      {{"-d", "--osc", "65536"}, "--osc: '65536' is not a port 1..65535"},
      {{"-d", "--osc"}, "--osc: PORT is missing after it"},
      {{"-d", "--osc", "1", "--osc", "2"}, "--osc: given twice"},
      {{"-d", "--osc-address", "0.0.0.0"}, "--osc-address: only with --osc PORT"},
      {{"-d", "--osc", "1", "--osc-address", ""}, "--osc-address: the name is empty"},
      {{"--render", "0", "x.png", "--start", "5"}, "--start: only for playing the demo (the launcher or -d)"},
      {{"-d", "--check"}, "--check: not with -d (-d goes with playing and --print-frame)"},
      {{"-d", "--guess-bpm"}, "--guess-bpm: not with -d (-d goes with playing and --print-frame)"},
      {{"--guess-bpm", "--start", "5"}, "--start: only for playing the demo (the launcher or -d)"},
      {{"-d", "-d"}, "-d: only the first argument selects development mode (a data folder named -d is written ./-d)"},
      {{"data", "-d"}, "-d: only the first argument selects development mode (a data folder named -d is written ./-d)"},
      {{"--check", ""}, "'': the data folder's name is empty"},
      {{""}, "'': the data folder's name is empty"},
      {{"one", "two"}, "'two': unexpected argument"},
      {{"data", "--check"}, "--check: one command, first (after -d where it takes one)"},
      {{"--check", "-h"}, "-h: one command, first (after -d where it takes one)"},
      {{"--check", "one", "two"}, "'two': unexpected argument"},
      {{"--new"}, "--new: DIR is missing after it"},
      {{"--new", ""}, "--new: the name is empty"},
      {{"--new", "a", "b"}, "'b': unexpected argument"},
      {{"--help", "data"}, "'data': unexpected argument"},
      {{"-v", "x"}, "'x': unexpected argument"},
      {{"-\x1b[2J"}, "-\\x1b[2J: no such option (quarnel --help lists them)"},
  };
  for (const Refusal& refusal : refusals) {
    CommandLine line;
    std::string shown;
    for (const std::string& arg : refusal.args) shown += " [" + arg + "]";
    EXPECT_EQ(ReadCommandLine(refusal.args, line), refusal.fault) << shown;
  }
}

}  // namespace
