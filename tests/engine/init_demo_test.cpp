// The start-up after "Start" on the null device with data folders written by the test: the order
// of its steps, every message it shows, the letterbox and the music calls made and not made.
#include <clocale>

#include "tests/engine/engine_rig.h"

namespace {

constexpr char kSequenceFatal[] = "ShowFatalError: Loading Error: no scene1 presets sequence found!";

// The position of every step's first trace in the start-up, in the order the steps must come.
const std::vector<std::string> kStepTraces = {
    "CreateDevice",                   // device
    "GetDeviceCaps",                  // capability check
    "CreateVertexBuffer",             // geometry
    "D3DXCreateSprite",               // sprite
    "CreateTexture(8, 8",             // textures
    "SetRenderState(7, 0)",           // fixed states, D3DRS_ZENABLE first
    "Clear(0, 3, 0xFF000000, 1, 0)",  // the whole back buffer black
    "SetMaterial",                    // material
    "SetViewport",                    // letterbox
    "CreateTexture(1, 1, 0, 1",       // render target (asked for 0 x 0, made 1 x 1)
    "BASS_GetVersion",                // music
};

}  // namespace

TEST_F(EngineRig, StartUpRunsItsStepsInOrder) {
  WriteDemo();
  engine.settings.music = true;
  ASSERT_TRUE(Init()) << AllEvents();
  size_t previous = 0;
  for (const std::string& trace : kStepTraces) {
    const size_t at = IndexOf(trace);
    ASSERT_LT(at, recording->calls.size()) << trace << " missing\n" << AllEvents();
    EXPECT_GT(at, previous) << trace << " out of order\n" << AllEvents();
    previous = at;
  }
  EXPECT_EQ(engine.clock.StartTick, 5000u);
  EXPECT_EQ(Events("BASS_"), (std::vector<std::string>{"BASS_GetVersion()", "BASS_Init(-1, 44100, 0)",
                                                       "BASS_StreamCreateFile(0, " + Mp3Path() + ", 0, 0, 0)",
                                                       "BASS_Start()", "BASS_StreamPlay(7, 1, 0)"}));
  EXPECT_TRUE(Shown().empty()) << AllEvents();
  EXPECT_FALSE(engine.terminating);
  EXPECT_EQ(engine.scene.PresetCount, 2);
  EXPECT_EQ(engine.SequenceCount, 2);
  EXPECT_EQ(engine.render.TextureCount, 2);
  EXPECT_EQ(engine.clock.StartTick, 5000u);
  EXPECT_EQ(engine.clock.FrameCount, 0u);
  EXPECT_EQ(engine.clock.DemoTime, 0u);
}

TEST_F(EngineRig, WithMusicOffNoSoundCallIsMadeAtStartLoopOrShutdown) {
  WriteDemo(1000);
  engine.settings.music = false;
  engine.settings.loop = true;
  ASSERT_TRUE(Init());
  Frame(6000);  // reaches the end: a loop restart
  EXPECT_EQ(engine.clock.FrameCount, 0u);
  engine.settings.loop = false;
  Frame(7000);  // the end again: shutdown
  ShutdownDemo(engine);
  EXPECT_EQ(Events("Terminate").size(), 2u);
  EXPECT_TRUE(Events("BASS_").empty()) << AllEvents();
}

TEST_F(EngineRig, WithoutPresetsItWarnsOnceAndPlaysTheDefaults) {
  WriteDemo();
  std::filesystem::remove(dir / "scene0.txt");  // scene1.txt alone does not count: no gaps
  ASSERT_TRUE(Init()) << AllEvents();
  EXPECT_EQ(Shown(),
            std::vector<std::string>{"ShowMessage: Loading Error: no scene1 presets found! Using default settings"});
  EXPECT_LT(IndexOf("GetDeviceCaps"), IndexOf("ShowMessage"));
  EXPECT_LT(IndexOf("ShowMessage"), IndexOf("CreateVertexBuffer"));
  EXPECT_EQ(engine.scene.PresetCount, 0);
  Frame(5100);
  EXPECT_EQ(Events("Clear(0, 3, 0xFF9D").size(), 1u) << "the default background 157 fills the first layer\n"
                                                     << AllEvents();
}

TEST_F(EngineRig, MissingSequenceEndsTheStartUpBeforeTheGeometry) {
  WriteDemo();
  std::filesystem::remove(dir / "sceneseq.txt");
  EXPECT_FALSE(Init());
  EXPECT_EQ(Shown(), std::vector<std::string>{kSequenceFatal});
  EXPECT_TRUE(Events("CreateVertexBuffer").empty());
  EXPECT_TRUE(engine.terminating);
}

TEST_F(EngineRig, SequenceWithoutEntriesIsNoSequence) {
  WriteDemo();
  WriteSequence(10000, "8", "");
  EXPECT_FALSE(Init());
  EXPECT_EQ(Shown(), std::vector<std::string>{kSequenceFatal});
}

TEST_F(EngineRig, BadRatioFromTheSequenceReaderEndsTheProgram) {
  WriteDemo();
  WriteSequence(10000, "12", EntryLines(0, 0, 10000));
  engine.settings.music = false;
  EXPECT_FALSE(Init());
  EXPECT_EQ(Shown(),
            std::vector<std::string>{"ShowFatalError: seq file error: ScreenCinemaWidthRatio is not between 2 and 10"});
  EXPECT_TRUE(engine.terminating);
}

TEST_F(EngineRig, NoTexturesIsFatalBeforeTheFixedStates) {
  WriteDemo();
  std::filesystem::remove(dir / "texture0.bmp");
  engine.settings.music = true;
  EXPECT_FALSE(Init());
  EXPECT_EQ(Shown(), std::vector<std::string>{"ShowFatalError: Loading Error: no textures found!"});
  EXPECT_TRUE(Events("SetRenderState").empty());
  EXPECT_TRUE(Events("BASS_").empty());
}

TEST_F(EngineRig, BadNumberInAPresetIsFatalWithFileAndLine) {
  ASSERT_NE(std::setlocale(LC_NUMERIC, "C"), nullptr);  // the decimal separator is "."
  WriteDemo();
  std::string preset = ReadFile(dir / "scene1.txt");
  preset.replace(preset.find("\r\n2.9280\r\n"), 10, "\r\n2,9280\r\n");
  WriteFile(dir / "scene1.txt", preset);
  EXPECT_FALSE(Init());
  EXPECT_EQ(Shown(), std::vector<std::string>{"ShowFatalError: " + dir / "scene1.txt" +
                                              ":28: '2,9280' is not a valid number (decimals are written "
                                              "with '.'; ',' reads only under a language setting that writes it)"});
  EXPECT_TRUE(Events("CreateVertexBuffer").empty());
}

TEST_F(EngineRig, BadNumberInTheSequenceIsFatalWithFileAndLine) {
  WriteDemo();
  WriteSequence(10000, "8", EntryLines(0, 0, 10000) + CrLf({"1", "0", "x"}));
  EXPECT_FALSE(Init());
  EXPECT_EQ(Shown(),
            std::vector<std::string>{"ShowFatalError: " + dir / "sceneseq.txt" + ":19: 'x' is not a valid number"});
}

TEST_F(EngineRig, MissingMp3WithMusicOnEndsWithTheStreamMessage) {
  WriteDemo();
  std::filesystem::remove(Mp3Path());
  engine.settings.music = true;
  EXPECT_FALSE(Init());
  EXPECT_EQ(Shown(), (std::vector<std::string>{
                         "ShowFatalError: seq file error: No correct MP3 file",
                         "ShowFatalError: sound init failed! Error: Stream creation failed (in other words: where is "
                         "my mp3 file (" +
                             Mp3Path() + "), eh?!)"}));
}

TEST_F(EngineRig, MissingMp3WithMusicOffEndsWithTheReadersMessageOnly) {
  WriteDemo();
  std::filesystem::remove(Mp3Path());
  engine.settings.music = false;
  EXPECT_FALSE(Init());
  EXPECT_EQ(Shown(), std::vector<std::string>{"ShowFatalError: seq file error: No correct MP3 file"});
  EXPECT_TRUE(Events("BASS_").empty());
}

// Device faults scripted on the null device: each fatal step is the last one carried out.
struct DeviceFault {
  std::string call;
  int callNumber;  // 1-based; 0 = every call
  std::string shown;
  std::string firstStepNotRun;
};
void PrintTo(const DeviceFault& fault, std::ostream* out) { *out << fault.call << " call " << fault.callNumber; }

class StartUpDeviceFault : public EngineRig, public ::testing::WithParamInterface<DeviceFault> {};

TEST_P(StartUpDeviceFault, ShowsItsMessageAndStops) {
  WriteDemo();
  engine.settings.music = true;
  recording->options.failingCalls[GetParam().call] = GetParam().callNumber;
  EXPECT_FALSE(Init());
  EXPECT_EQ(Shown(), std::vector<std::string>{GetParam().shown}) << AllEvents();
  EXPECT_TRUE(Events(GetParam().firstStepNotRun).empty()) << AllEvents();
  EXPECT_TRUE(Events("BASS_").empty());
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, StartUpDeviceFault,
    ::testing::Values(DeviceFault{"CreateDevice", 0,
                                  "ShowFatalError: d3d8 init failed! Error: Not possible to init adapter with "
                                  "d3dpp settings!",
                                  "GetDeviceCaps"},
                      DeviceFault{"CreateVertexBuffer", 1,
                                  "ShowFatalError: Geometry Init Error: Not able to create vertex buffer "
                                  "(main)",
                                  "D3DXCreateSprite"},
                      DeviceFault{"D3DXCreateSprite", 0, "ShowFatalError: Sprite Init Error: could not create sprite!",
                                  "CreateTexture"},
                      DeviceFault{"CreateTexture", 3, "ShowFatalError: texture init error: cannot create r2t texture",
                                  "BASS_GetVersion"}),
    [](const ::testing::TestParamInfo<DeviceFault>& info) { return info.param.call; });

TEST_F(EngineRig, MissingCapabilitiesWarnAndTheStartUpGoesOn) {
  WriteDemo();
  recording->options.caps.MaxActiveLights = 0;
  ASSERT_TRUE(Init());
  const std::vector<std::string> shown = Shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].rfind("ShowMessage: d3d8 caps check: [no active lights] supported!\r\r", 0), 0u) << shown[0];
}

// The letterbox of a windowed device of the given size, with the sequence's ratio.
struct Letterbox {
  uint32_t widthPx, heightPx;
  std::string ratio;
  uint16_t barPx, areaPx, r2tMaxSizePx;
};
void PrintTo(const Letterbox& box, std::ostream* out) {
  *out << box.widthPx << "x" << box.heightPx << " ratio " << box.ratio;
}

class StartUpLetterbox : public EngineRig, public ::testing::WithParamInterface<Letterbox> {};

TEST_P(StartUpLetterbox, BarsAreaAndRenderTargetBound) {
  const Letterbox& box = GetParam();
  WriteDemo();
  WriteSequence(10000, box.ratio, EntryLines(0, 0, 10000));
  ASSERT_TRUE(Init(box.widthPx, box.heightPx)) << AllEvents();
  const RenderState& render = engine.render;
  EXPECT_EQ(render.FullWidth, box.widthPx);
  EXPECT_EQ(render.FullHeight, box.heightPx);
  EXPECT_EQ(render.CinemaBarHeight, box.barPx);
  EXPECT_EQ(render.ViewHeight, box.areaPx);
  EXPECT_EQ(render.ViewWidth, box.widthPx);
  EXPECT_EQ(render.R2tMaxSize, box.r2tMaxSizePx);
  EXPECT_EQ(Events("SetViewport"),
            std::vector<std::string>{"SetViewport(0, " + std::to_string(box.barPx) + ", " +
                                     std::to_string(box.widthPx) + ", " + std::to_string(box.areaPx) + ", 0, 1)"});
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, StartUpLetterbox,
    ::testing::Values(Letterbox{640, 480, "10", 48, 384, 512}, Letterbox{320, 240, "3", 80, 80, 256},
                      Letterbox{512, 384, "8", 48, 288, 512}, Letterbox{640, 480, "8", 60, 360, 512}),
    [](const ::testing::TestParamInfo<Letterbox>& info) {
      const Letterbox& box = info.param;
      return std::to_string(box.widthPx) + "x" + std::to_string(box.heightPx) + "Ratio" + box.ratio;
    });
