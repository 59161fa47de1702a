// The frame loop on a scripted clock: demo time, frame rates, the caption, the end of the demo with and
// without Loop, the timing fault, layers that fail to evaluate and development mode. Each frame gets its
// tick and reads the wall clock twice: at the frame's start and at its end.
#include "engine/engine_messages.h"
#include "tests/engine/engine_rig.h"

namespace {

constexpr char kDegree[] = "\xC2\xB0";

class Playback : public EngineRig {
 protected:
  // Starts the demo of WriteDemo at tick tickMs.
  void Start(uint32_t lengthMs = 10000) {
    WriteDemo(lengthMs);
    ASSERT_TRUE(Init()) << AllEvents();
    ASSERT_EQ(engine.clock.StartTick, tickMs);
  }
  // Sets the background red (a byte) of preset n; 256 and more make the layer fail to evaluate.
  void BreakPreset(int n, float red) { engine.scene.ScenePresets[size_t(n)][0].BaseVal = red; }
};

}  // namespace

TEST_F(Playback, ClockAndFrameRates) {
  Start();
  Frame(5101, {5101, 5117});  // the tick gives the demo time; the frame took 16 ms of wall time
  EXPECT_EQ(engine.clock.FrameCount, 1u);
  EXPECT_EQ(engine.clock.DemoTime, 101u);
  EXPECT_EQ(engine.clock.AvgFps, 10u);  // Round(1000 / 102) = 10
  EXPECT_EQ(engine.clock.Fps, 62u);     // 1000 div 16

  Frame(5300, {5300, 5300});  // under 1 ms: Fps stays
  EXPECT_EQ(engine.clock.FrameCount, 2u);
  EXPECT_EQ(engine.clock.DemoTime, 300u);
  EXPECT_EQ(engine.clock.AvgFps, 7u);  // Round(2000 / 301) = 6.64 -> 7
  EXPECT_EQ(engine.clock.Fps, 62u);

  Frame(5999, {5999, 6000});
  EXPECT_EQ(engine.clock.Fps, 1000u);
  EXPECT_EQ(engine.clock.AvgFps, 3u);  // Round(3000 / 1000)

  Frame(6500, {6500, 6505});
  EXPECT_EQ(engine.clock.AvgFps, 3u);  // Round(4000 / 1501) = 2.66 -> 3
  EXPECT_EQ(engine.clock.Fps, 200u);

  Frame(6999, {6999, 6999});
  EXPECT_EQ(engine.clock.AvgFps, 2u);  // Round(5000 / 2000): the tie goes to the even neighbour
  EXPECT_EQ(engine.clock.Fps, 200u);
  EXPECT_FALSE(engine.terminating);
}

TEST_F(Playback, DemoTimeCountsAcrossTheTickWrap) {
  tickMs = 0xFFFFFF00u;
  Start();
  Frame(0x100, {0x100, 0x100});
  EXPECT_EQ(engine.clock.DemoTime, 0x200u);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(Playback, ClockBehindTheStartIsTheTimingFault) {
  Start();
  Frame(5200, {5200, 5200});
  const size_t first = Frame(4000, {4000, 4000});
  EXPECT_EQ(Shown(first), std::vector<std::string>{std::string("ShowFatalError: ") + kTimingFailedText});
  EXPECT_EQ(engine.clock.DemoTime, 200u) << "the demo time keeps its value";
  EXPECT_EQ(Events("Present", first).size(), 1u) << "the frame goes on";
  EXPECT_TRUE(engine.terminating) << "the program ends once control is back in the loop";
  EXPECT_TRUE(Events("Terminate").empty());
}

TEST_F(Playback, StatsCaptionComesBeforeTheDrawingWithThePreviousFramesRates) {
  engine.settings.stats = true;
  engine.settings.music = true;
  Start();
  Frame(5100, {5100, 5116});
  const size_t first = Frame(6000, {6000, 6010});
  const std::vector<std::string> captions = Events("SetCaption", first);
  ASSERT_EQ(captions.size(), 1u);
  // At 100 ms entry 0 alone was on screen: its effect time, not that of entry 1 evaluated after it.
  const std::string d = kDegree;
  EXPECT_EQ(captions[0], "SetCaption: F.c: 640/480 A.s: 640/360 f: 2 " + d + " t: 1000 (10%) ms " + d +
                             " fx-t: 100ms " + d + " fps: 62 " + d + " afps: 2 " + d + " mcpu: 3%");
  EXPECT_LT(IndexOf("BASS_GetCPU"), recording->calls.size());
  const std::vector<std::string>& calls = recording->calls;
  const auto caption = std::find(calls.begin() + std::ptrdiff_t(first), calls.end(), captions[0]);
  const auto clear = std::find_if(calls.begin() + std::ptrdiff_t(first), calls.end(),
                                  [](const std::string& c) { return c.rfind("Clear", 0) == 0; });
  EXPECT_LT(caption, clear);
}

TEST_F(Playback, NoCaptionWithStatsOff) {
  engine.settings.stats = false;
  engine.settings.music = true;
  Start();
  Frame(5100);
  Frame(5200);
  EXPECT_TRUE(Events("SetCaption").empty());
  EXPECT_TRUE(Events("BASS_GetCPU").empty());
}

TEST_F(Playback, EntriesAreLayersDrawnInFileOrderAtTheirOwnEffectTime) {
  Start();
  size_t first = Frame(10000);  // 5000 ms: both windows (0..6000 and 4000..10000) hold it
  EXPECT_EQ(Events("Clear(0, 3, 0xFF", first),
            (std::vector<std::string>{"Clear(0, 3, 0xFF000000, 1, 0)", "Clear(0, 3, 0xFF0A446B, 1, 0)",
                                      "Clear(0, 3, 0xFF14446B, 1, 0)"}));
  EXPECT_EQ(engine.clock.FxTime, 3500u);  // the last entry's: Round(5000 * 0.5) + 1000
  EXPECT_EQ(Events("Present", first).size(), 1u);
  first = Frame(12000);  // 7000 ms: the second entry alone
  EXPECT_EQ(Events("Clear(0, 3, 0xFF", first),
            (std::vector<std::string>{"Clear(0, 3, 0xFF000000, 1, 0)", "Clear(0, 3, 0xFF14446B, 1, 0)"}));
}

TEST_F(Playback, EffectTimeIsTheLayerOnScreens) {
  Start();
  Frame(8000);  // 3000 ms: the first entry alone is on screen; the second would be at 2500 ms
  EXPECT_EQ(engine.clock.FxTime, 3000u);
  Frame(15000);  // 10000 ms: the second entry alone
  EXPECT_EQ(engine.clock.FxTime, 6000u);
}

TEST_F(Playback, FrameRateOfASteppedClockIsMeasuredOnTheWallClock) {
  Start();
  std::deque<uint32_t> wallMs = {20000, 20040};
  engine.host.WallTickMs = [&wallMs] {
    const uint32_t ms = wallMs.front();
    if (wallMs.size() > 1) wallMs.pop_front();
    return ms;
  };
  Frame(5100);                       // the stepped clock stands still within the frame
  EXPECT_EQ(engine.clock.Fps, 25u);  // 1000 div 40 ms of wall time
  EXPECT_EQ(engine.clock.DemoTime, 100u);
}

TEST_F(Playback, EndOfDemoWithLoopRestartsClockAndMusic) {
  engine.settings.loop = true;
  engine.settings.music = true;
  Start(1000);
  Frame(5500);
  const size_t first = Frame(6002, {6002, 6004});  // 1002 ms: the end
  EXPECT_EQ(engine.clock.StartTick, 6002u);
  EXPECT_EQ(engine.clock.FrameCount, 0u);
  EXPECT_EQ(engine.clock.DemoTime, 0u);
  EXPECT_EQ(engine.clock.Fps, 500u) << "the frame time covers the restart";
  const std::vector<std::string> after = Events("", first);
  const auto presented = std::find(after.begin(), after.end(), "Present()");
  ASSERT_NE(presented, after.end()) << "the frame that reached the end is shown";
  EXPECT_EQ(std::vector<std::string>(presented + 1, after.end()),
            (std::vector<std::string>{"BASS_Pause()", "BASS_Stop()", "BASS_Start()", "BASS_StreamPlay(7, 1, 0)",
                                      "WallTickMs -> 6004"}));
  Frame(6100);
  EXPECT_EQ(engine.clock.DemoTime, 98u);
  EXPECT_EQ(engine.clock.FrameCount, 1u);
  EXPECT_TRUE(Events("Terminate").empty());
  EXPECT_NE(engine.render.device, nullptr);
}

TEST_F(Playback, EndOfDemoWithoutLoopShutsDown) {
  engine.settings.loop = false;
  engine.settings.music = true;
  Start(1000);
  Frame(5999);
  EXPECT_TRUE(Events("Terminate").empty());
  const size_t first = Frame(6000);
  const std::vector<std::string> after = Events("", first);
  const auto presented = std::find(after.begin(), after.end(), "Present()");
  ASSERT_NE(presented, after.end());
  // The objects of the start-up (the geometry may have been rebuilt since) and the music; the device
  // releases its own back buffer with itself.
  std::vector<std::string> shutdown;
  for (auto e = presented + 1; e != after.end(); ++e) {
    if (e->rfind("WallTickMs", 0) == 0 || *e == "Release(backbuffer)") continue;
    shutdown.push_back(e->rfind("Release(vb", 0) == 0 ? "Release(vb)" : *e);
  }
  EXPECT_EQ(shutdown, (std::vector<std::string>{"Release(tex3)", "Release(tex1)", "Release(tex2)", "Release(sprite1)",
                                                "Release(vb)", "Release(vb)", "Release(device)", "Release(d3d)",
                                                "BASS_Stop()", "BASS_Free()", "Terminate"}));
  EXPECT_EQ(engine.render.device, nullptr);
  EXPECT_EQ(engine.render.d3d, nullptr);
  EXPECT_TRUE(engine.terminating);
  const size_t released = Events("Release").size();
  ShutdownDemo(engine);  // Escape after the end: nothing is released twice
  EXPECT_EQ(Events("Release").size(), released);
}

// A slow frame that lands far past the end still draws the demo's last moment, not a time that no check
// has seen (and that an oscillator may fail at).
TEST_F(Playback, LastFrameIsDrawnAtTheDemoLength) {
  engine.settings.loop = false;
  Start(1000);
  Frame(5500);
  Frame(65000);
  EXPECT_EQ(engine.clock.DemoTime, 1000u);
  bool drawnAtTheEnd = false;  // the last layer drawn was evaluated at an entry's effect time of 1000 ms
  for (const TSceneSeqEntry& entry : engine.sequence.SequenceEntries)
    drawnAtTheEnd |= EntryVisible(entry, 1000) && engine.clock.FxTime == EntryEffectTime(entry, 1000);
  EXPECT_TRUE(drawnAtTheEnd) << engine.clock.FxTime;
  EXPECT_TRUE(engine.terminating);
}

TEST_F(Playback, LayerErrorIsShownOnceAndTheOtherLayersStillDrawn) {
  Start();
  BreakPreset(0, 300);
  const size_t first = Frame(10000);
  for (uint32_t tick : {10100, 10200, 10300}) Frame(tick);
  const std::vector<std::string> shown = Shown(first);
  ASSERT_EQ(shown.size(), 1u) << AllEvents();
  EXPECT_EQ(shown[0].rfind("ShowMessage: preset 0: byte:BG_r: base value rounds to 300", 0), 0u) << shown[0];
  EXPECT_EQ(Events("Clear(0, 3, 0xFF14446B", first).size(), 4u) << "the second layer in every frame";
  EXPECT_EQ(Events("Present", first).size(), 4u);
  EXPECT_FALSE(engine.terminating);

  BreakPreset(0, 400);  // a different text: shown again, once
  const size_t changed = Frame(10400);
  Frame(10500);
  const std::vector<std::string> again = Shown(changed);
  ASSERT_EQ(again.size(), 1u) << AllEvents();
  EXPECT_EQ(again[0].rfind("ShowMessage: preset 0: byte:BG_r: base value rounds to 400", 0), 0u) << again[0];
}

// A layer that fails only near its oscillator's peaks comes and goes: in normal play its text opens one
// box in the whole run, however often it comes back.
TEST_F(Playback, ALayerErrorThatComesAndGoesIsShownOncePerRun) {
  Start();
  const size_t first = Frame({10000});
  for (uint32_t tick : {10100, 10200, 10300, 10400}) {
    BreakPreset(0, tick % 200 == 0 ? 300 : 10);  // failing in every second frame
    Frame({tick});
  }
  EXPECT_EQ(Shown(first).size(), 1u) << AllEvents();
}

// In development mode the author edits the failing value: the same text again (after frames without
// it) opens no box, a changed text does, also when it changes back; every failing frame puts its text
// in the notice line.
TEST_F(Playback, DevelopmentModeShowsALayerErrorAgainOnlyWhenItsTextChanges) {
  engine.settings.developmentMode = true;
  engine.liveSetOnly = true;
  Start();
  std::vector<std::string> notices;
  engine.host.ShowNotice = [&notices](const std::string& text) { notices.push_back(text); };
  const size_t first = Frame({10000});
  uint32_t tick = 10000;
  for (const float red : {300, 300, 10, 300, 10, 400, 400, 300}) {
    engine.scene.LiveParams[0].BaseVal = red;
    Frame({tick += 100});
  }
  const std::vector<std::string> shown = Shown(first);
  ASSERT_EQ(shown.size(), 3u) << AllEvents();
  EXPECT_NE(shown[0].find("base value rounds to 300, outside the range 0..255"), std::string::npos) << shown[0];
  EXPECT_NE(shown[1].find("rounds to 400"), std::string::npos) << shown[1];
  EXPECT_NE(shown[2].find("rounds to 300"), std::string::npos) << shown[2];
  ASSERT_EQ(notices.size(), 6u);
  EXPECT_EQ("ShowMessage: " + notices[1], shown[0]);
}

TEST_F(Playback, TwoFailingLayersAreEachShownOnce) {
  Start();
  BreakPreset(0, 300);
  BreakPreset(1, 999);
  const size_t first = Frame(10000);
  for (uint32_t tick : {10100, 10200, 10300}) Frame(tick);
  EXPECT_EQ(Shown(first).size(), 2u) << AllEvents();
}

TEST_F(Playback, SameFailingPresetInTwoEntriesIsShownOnce) {
  WritePresets(2);
  WriteSequence(10000, "8", EntryLines(1, 0, 10000) + EntryLines(0, 0, 10000) + EntryLines(1, 0, 10000));
  WriteTextures(1);
  WriteMp3();
  ASSERT_TRUE(Init());
  BreakPreset(1, 256);
  const size_t first = Frame(6000);
  Frame(6100);
  EXPECT_EQ(Shown(first).size(), 1u) << AllEvents();
  EXPECT_EQ(Events("Clear(0, 3, 0xFF0A446B", first).size(), 2u);
}

TEST_F(Playback, DevelopmentModeDrawsTheLiveSetAtHalfTime) {
  engine.liveSetOnly = true;
  engine.settings.loop = true;
  Start();
  engine.scene.LiveParams = StillPreset(0x77);
  const size_t first = Frame(8001);  // 3001 ms
  EXPECT_EQ(engine.clock.FxTime, 1500u);
  EXPECT_EQ(Events("Clear(0, 3, 0xFF", first),
            (std::vector<std::string>{"Clear(0, 3, 0xFF000000, 1, 0)", "Clear(0, 3, 0xFF77446B, 1, 0)"}))
      << "one layer, the live set, no preset copied over it";
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 0x77);
  Frame(15000);  // the demo length: development mode loops as playback does
  EXPECT_EQ(engine.clock.DemoTime, 0u);
  EXPECT_EQ(engine.clock.StartTick, 15000u);
}

// Fullscreen, the window covers the whole (here wide) monitor while the picture is drawn at the chosen
// mode: the camera's aspect is the mode's, as the windowed output of the same size has it.
TEST_F(Playback, FullscreenAspectIsTheDisplayModesNotTheMonitors) {
  WriteDemo();
  DeviceChoice choice;
  choice.windowed = false;
  choice.widthPx = 640;
  choice.heightPx = 480;
  ASSERT_TRUE(InitDemo(engine, choice)) << AllEvents();
  StartDemoClock(engine.clock, tickMs);
  engine.host.ClientSizePx = [](uint32_t& widthPx, uint32_t& heightPx) { widthPx = 1920, heightPx = 1080; };
  const auto projection = [&](uint32_t tick) {
    const std::vector<std::string> set = Events("SetTransform(3, ", Frame(tick));
    return set.empty() ? std::string() : set.back();
  };
  const std::string fullscreen = projection(8000);
  engine.render.windowedOutput = true;
  const std::string wideWindow = projection(8000);
  engine.host.ClientSizePx = [](uint32_t& widthPx, uint32_t& heightPx) { widthPx = 640, heightPx = 480; };
  const std::string window = projection(8000);
  ASSERT_FALSE(fullscreen.empty());
  EXPECT_EQ(fullscreen, window);
  EXPECT_NE(wideWindow, window) << "a window's own client size does count";
}
