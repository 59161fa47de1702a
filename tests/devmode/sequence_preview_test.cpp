// Development mode's sequence preview on the null device: the whole sequence drawn as normal play
// draws it, the live set standing in for the picked preset, and the presets and the live set as they
// were afterwards.
#include "devmode/sequence_preview.h"
#include "tests/engine/engine_rig.h"

TEST_F(EngineRig, SequencePreviewDrawsTheWholeSequenceWithTheLiveSetInPlaceOfThePickedPreset) {
  WriteDemo();
  engine.settings.loop = true;
  ASSERT_TRUE(Init()) << AllEvents();
  engine.scene.LiveParams = StillPreset(0x77);
  const TScene1ParamIArray preset1 = engine.scene.ScenePresets[1];
  size_t first = 0;
  {
    const LiveSetStandIn standIn(engine.scene, 1);
    first = Frame(10000);  // 5000 ms: both entries, as normal play draws them
  }
  EXPECT_EQ(Events("Clear(0, 3, 0xFF", first),
            (std::vector<std::string>{"Clear(0, 3, 0xFF000000, 1, 0)", "Clear(0, 3, 0xFF0A446B, 1, 0)",
                                      "Clear(0, 3, 0xFF77446B, 1, 0)"}))
      << "preset 0 as it is, the live set standing in for preset 1";
  EXPECT_EQ(engine.clock.FxTime, 3500u) << "the entry's own effect time, not half the demo time";
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 0x77) << "the live set is kept";
  EXPECT_EQ(engine.scene.ScenePresets[1][0].BaseVal, preset1[0].BaseVal) << "the preset is kept";

  for (const int picked : {-1, 2}) {  // nothing picked in "set", a preset not loaded: the sequence alone
    {
      const LiveSetStandIn standIn(engine.scene, picked);
      first = Frame(10000);
    }
    EXPECT_EQ(Events("Clear(0, 3, 0xFF", first),
              (std::vector<std::string>{"Clear(0, 3, 0xFF000000, 1, 0)", "Clear(0, 3, 0xFF0A446B, 1, 0)",
                                        "Clear(0, 3, 0xFF14446B, 1, 0)"}));
    EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 0x77);
  }

  engine.liveSetOnly = true;  // the preview off: the live set alone
  first = Frame(10000);
  EXPECT_EQ(Events("Clear(0, 3, 0xFF", first),
            (std::vector<std::string>{"Clear(0, 3, 0xFF000000, 1, 0)", "Clear(0, 3, 0xFF77446B, 1, 0)"}));

  // A key on the entry that plays the picked preset: it applies on top of the live set standing in; the
  // live set alone knows no entry and stays as it is.
  engine.sequence.SequenceEntries[1].Tracks = {{0, {{0, 0x55, KeyCurve::Step}}}};
  engine.liveSetOnly = false;
  {
    const LiveSetStandIn standIn(engine.scene, 1);
    first = Frame(10000);
  }
  EXPECT_EQ(Events("Clear(0, 3, 0xFF", first),
            (std::vector<std::string>{"Clear(0, 3, 0xFF000000, 1, 0)", "Clear(0, 3, 0xFF0A446B, 1, 0)",
                                      "Clear(0, 3, 0xFF55446B, 1, 0)"}));
  EXPECT_EQ(engine.scene.LiveParams[0].BaseVal, 0x77) << "the key does not write into the live set";
  engine.liveSetOnly = true;
  first = Frame(10000);
  EXPECT_EQ(Events("Clear(0, 3, 0xFF", first),
            (std::vector<std::string>{"Clear(0, 3, 0xFF000000, 1, 0)", "Clear(0, 3, 0xFF77446B, 1, 0)"}));
}
