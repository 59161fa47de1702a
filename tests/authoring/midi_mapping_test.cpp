// MIDI controllers without a device: raw bytes through the parser (running status, real-time bytes,
// system exclusive, 14-bit pairs, bends, notes), the mappings (learn, scaling, soft takeover, buttons),
// and controllers.txt written and read back, with the lines it refuses.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

#include "authoring/controllers_file.h"
#include "authoring/midi_mapping.h"

namespace {

std::vector<MidiEvent> Parse(MidiParser& parser, std::vector<uint8_t> bytes) {
  std::vector<MidiEvent> events;
  parser.Feed(bytes, [&](const MidiEvent& event) { events.push_back(event); });
  return events;
}

TEST(MidiParser, RunningStatusRealTimeAndSystemMessages) {
  MidiParser parser;
  // CC 21 on channel 2, then two more by running status with a clock byte in the middle of one.
  auto events = Parse(parser, {0xB1, 21, 0, 21, 0xF8, 127, 22, 64});
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].channel, 1);
  EXPECT_EQ(events[1].number, 21);
  EXPECT_DOUBLE_EQ(events[1].position, 1.0);
  EXPECT_EQ(events[2].number, 22);
  // A message split over two reads completes in the second.
  EXPECT_TRUE(Parse(parser, {0x90, 60}).empty());
  events = Parse(parser, {100, 61, 0});  // the second note has velocity 0: a note off
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, MidiEventKind::Note);
  EXPECT_EQ(events[0].number, 60);
  // System exclusive: its bytes are no data of a channel message, and it ends the running status.
  EXPECT_TRUE(Parse(parser, {0xF0, 0x7E, 21, 5, 0xF7, 21, 5}).empty());
  // Program change carries one data byte and is not used; the control change after it is read whole.
  events = Parse(parser, {0xC0, 5, 0xB0, 7, 10});
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].number, 7);
}

TEST(MidiParser, FourteenBitPairsAndBend) {
  MidiParser parser;
  // CC 40 with no CC 8 before it is a control of its own.
  auto events = Parse(parser, {0xB0, 40, 127});
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].number, 40);
  EXPECT_FALSE(events[0].fine);
  // CC 7 then 39: the pair gives 14 bits; from then on CC 7 alone clears the low bits.
  events = Parse(parser, {0xB0, 7, 64, 39, 1, 7, 127});
  ASSERT_EQ(events.size(), 3u);
  EXPECT_DOUBLE_EQ(events[0].position, 64 / 127.0);
  EXPECT_EQ(events[1].number, 7);
  EXPECT_TRUE(events[1].fine);
  EXPECT_DOUBLE_EQ(events[1].position, (64 * 128 + 1) / 16383.0);
  EXPECT_DOUBLE_EQ(events[2].position, 127 * 128 / 16383.0);
  // The pair is per channel: channel 2's CC 7 is still coarse.
  events = Parse(parser, {0xB1, 7, 127});
  EXPECT_DOUBLE_EQ(events[0].position, 1.0);
  // Pitch bend: low seven bits first; the middle, then the top.
  events = Parse(parser, {0xE3, 0, 64, 127, 127});
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, MidiEventKind::Bend);
  EXPECT_EQ(events[0].channel, 3);
  EXPECT_DOUBLE_EQ(events[0].position, 8192 / 16383.0);
  EXPECT_DOUBLE_EQ(events[1].position, 1.0);
}

// A scene stand-in for the effects: values by target, a byte at 0..255, presses counted.
struct FakeScene {
  std::map<int, double> base{{0, 100}, {1, 0}};
  std::vector<ButtonAction> presses;
  std::vector<std::pair<int, double>> sets;
  int learned = 0;
  ControllerEffects Effects() {
    ControllerEffects effects;
    effects.Value = [this](const ControllerTarget& target) -> std::optional<double> { return base[target.param]; };
    effects.Range = [](const ControllerTarget&) { return KeyRange{0, 255}; };
    effects.Set = [this](const ControllerTarget& target, double value) {
      base[target.param] = std::round(value);
      sets.emplace_back(target.param, value);
      return std::string();
    };
    effects.Press = [this](const ControllerTarget& target) { presses.push_back(target.button); };
    effects.Learned = [this](const ControllerMapping&) { ++learned; };
    return effects;
  }
};

uint8_t Cc(double position) { return static_cast<uint8_t>(std::lround(position * 127)); }

TEST(ControllerMap, LearnScalesAndTakesOverSoftly) {
  ControllerMap map;
  FakeScene scene;
  const ControllerEffects effects = scene.Effects();
  // Nothing mapped: a control moves nothing.
  FeedMidi(map, std::vector<uint8_t>{0xB0, 21, 0}, effects);
  EXPECT_TRUE(scene.sets.empty());
  // Learn: the armed target takes the next control moved; the move itself changes nothing.
  map.learning = true;
  map.armed = ControllerTarget{TargetKind::BaseVal, 0};
  FeedMidi(map, std::vector<uint8_t>{0x90, 60, 100}, effects);  // a note cannot move a value
  EXPECT_TRUE(map.mappings.empty());
  FeedMidi(map, std::vector<uint8_t>{0xB0, 21, 0}, effects);
  ASSERT_EQ(map.mappings.size(), 1u);
  EXPECT_EQ(scene.learned, 1);
  EXPECT_FALSE(map.armed);
  EXPECT_EQ(map.mappings[0].maximum, 255);
  EXPECT_TRUE(scene.sets.empty());
  // The value is 100 (position 0.39): moving up to 0.3 has not met it yet, nothing changes.
  FeedMidi(map, std::vector<uint8_t>{0xB0, 21, Cc(0.2), 21, Cc(0.3)}, effects);
  EXPECT_TRUE(scene.sets.empty());
  // Passing it between two moves engages; from then on every move sets the scaled value.
  FeedMidi(map, std::vector<uint8_t>{0xB0, 21, Cc(0.5), 21, 127}, effects);
  ASSERT_EQ(scene.sets.size(), 2u);
  EXPECT_DOUBLE_EQ(scene.sets[0].second, Cc(0.5) / 127.0 * 255);
  EXPECT_DOUBLE_EQ(scene.sets[1].second, 255);
  // Changed by something else (the mouse): the control lets go until it meets the value again.
  scene.base[0] = 10;
  FeedMidi(map, std::vector<uint8_t>{0xB0, 21, 120}, effects);
  EXPECT_EQ(scene.sets.size(), 2u);
  FeedMidi(map, std::vector<uint8_t>{0xB0, 21, 5}, effects);  // within one step of 10/255
  EXPECT_EQ(scene.sets.size(), 3u);
  // Learning CC 21 for another target moves the mapping: one control, one target.
  map.armed = ControllerTarget{TargetKind::BaseVal, 1};
  FeedMidi(map, std::vector<uint8_t>{0xB0, 21, 0}, effects);
  ASSERT_EQ(map.mappings.size(), 1u);
  EXPECT_EQ(map.mappings[0].target.param, 1);
}

TEST(ControllerMap, FineStepsAndReversedRange) {
  ControllerMap map;
  FakeScene scene;
  ControllerEffects effects = scene.Effects();
  effects.Set = [&](const ControllerTarget& target, double value) {  // a real: no rounding
    scene.base[target.param] = value;
    scene.sets.emplace_back(target.param, value);
    return std::string();
  };
  ControllerMapping mapping;
  mapping.control = {MidiEventKind::Control, 0, 7};
  mapping.target = {TargetKind::BaseVal, 1};
  mapping.minimum = 1;  // turned round: the control's top is 0
  mapping.maximum = 0;
  mapping.position = 1;  // left at the value
  mapping.engaged = false;
  map.mappings.push_back(mapping);
  scene.base[1] = 0;
  FeedMidi(map, std::vector<uint8_t>{0xB0, 7, 127, 39, 127, 7, 64, 39, 1}, effects);
  ASSERT_FALSE(scene.sets.empty());
  EXPECT_DOUBLE_EQ(scene.sets.back().second, 1 - (64 * 128 + 1) / 16383.0);
  // A bend on channel 1 gives 14 bits too.
  map.mappings[0].control = {MidiEventKind::Bend, 0, 0};
  FeedMidi(map, std::vector<uint8_t>{0xE0, 0, 64, 1, 64}, effects);
  EXPECT_DOUBLE_EQ(scene.sets.back().second, 1 - 8193 / 16383.0);
}

TEST(ControllerMap, NotesAndControllerButtonsPress) {
  ControllerMap map;
  FakeScene scene;
  const ControllerEffects effects = scene.Effects();
  map.learning = true;
  map.armed = ControllerTarget{TargetKind::Button, 0, ButtonAction::Var};
  FeedMidi(map, std::vector<uint8_t>{0xE0, 0, 64}, effects);  // a bend presses no button
  EXPECT_TRUE(map.mappings.empty());
  FeedMidi(map, std::vector<uint8_t>{0x99, 36, 90}, effects);  // learned: no press yet
  map.armed = ControllerTarget{TargetKind::Button, 0, ButtonAction::Preset, 3};
  FeedMidi(map, std::vector<uint8_t>{0xB0, 64, 0}, effects);
  ASSERT_EQ(map.mappings.size(), 2u);
  EXPECT_TRUE(scene.presses.empty());
  // The note presses on every strike (not on its release); the control going up through the middle.
  FeedMidi(map, std::vector<uint8_t>{0x99, 36, 90, 0x89, 36, 0, 0x99, 36, 1}, effects);
  FeedMidi(map, std::vector<uint8_t>{0xB0, 64, 127, 64, 0, 64, 127}, effects);
  EXPECT_EQ(scene.presses, (std::vector<ButtonAction>{ButtonAction::Var, ButtonAction::Var, ButtonAction::Preset,
                                                      ButtonAction::Preset}));
}

TEST(ControllersFile, RoundTripKeepsMappingsPositionsAndRefusedLines) {
  ControllerMap map;
  ControllerMapping base;
  base.control = {MidiEventKind::Control, 15, 21};
  base.target = {TargetKind::BaseVal, 4};
  base.minimum = -0.125;
  base.maximum = 3.5;
  base.position = 0.25;
  ControllerMapping time;
  time.control = {MidiEventKind::Bend, 2, 0};
  time.target = {TargetKind::TimeSlider};
  ControllerMapping preset;
  preset.control = {MidiEventKind::Note, 0, 60};
  preset.target = {TargetKind::Button, 0, ButtonAction::Preset, 7};
  ControllerMapping morph;
  morph.control = {MidiEventKind::Control, 0, 23};
  morph.target = {TargetKind::MorphSlider};
  morph.position = 0.5;
  map.mappings = {base, time, preset, morph};
  map.refusedLines = {"cc 1 300 base 0 0 255"};
  const std::string text = ControllersText(map);
  EXPECT_NE(text.find("cc 16 21 base 4 -0.125 3.5 at 0.25\n"), std::string::npos) << text;
  EXPECT_NE(text.find("cc 1 23 morph at 0.5\n"), std::string::npos) << "a slider has no range of its own";
  const ControllersRead read = ReadControllers(text, "data/controllers.txt");
  ASSERT_EQ(read.mappings.size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(read.mappings[i].control, map.mappings[i].control);
    EXPECT_EQ(read.mappings[i].target, map.mappings[i].target);
    EXPECT_EQ(read.mappings[i].minimum, map.mappings[i].minimum);
    EXPECT_EQ(read.mappings[i].maximum, map.mappings[i].maximum);
    EXPECT_EQ(read.mappings[i].position, map.mappings[i].position);
  }
  EXPECT_EQ(read.refusedLines, map.refusedLines);
  ASSERT_EQ(read.faults.size(), 1u);
  EXPECT_EQ(read.faults[0], "data/controllers.txt:8: number '300' is outside 0..127; the line stays but is not used");
}

TEST(ControllersFile, RefusesWhatIsNoMappingAndReadsTheRest) {
  const std::string text =
      "# comment\r\n"
      "\n"
      "cc 1 21 base 0 0 255 at 0.5\r\n"  // CR LF taken
      "cc 17 21 base 0 0 255\n"          // channel
      "cc 1 22 base 0 0 300\n"           // a byte's base value above 255
      "cc 1 23 osc1 77 0 1\n"            // no parameter 77
      "cc 1 24 base 0 0 x\n"             // not a number
      "note 1 60 base 0 0 255\n"         // a note moves no value
      "bend 1 rand\n"                    // a bend presses no button
      "cc 1 25 time at 2\n"              // position outside 0..1
      "cc 1 26 F9\n"                     // no such target
      "cc 1 27 rand extra\n"             // trailing text
      "knob 1 2 rand\n"                  // no such control
      "cc 1\n"                           // ends early
      "note 2 61 F8\n";
  const ControllersRead read = ReadControllers(text, "c.txt");
  ASSERT_EQ(read.mappings.size(), 2u);
  EXPECT_EQ(read.mappings[0].position, 0.5);
  EXPECT_EQ(read.mappings[1].target.button, ButtonAction::F8);
  ASSERT_EQ(read.faults.size(), 11u);
  EXPECT_EQ(read.faults[0].rfind("c.txt:4: channel '17' is outside 1..16", 0), 0u) << read.faults[0];
  EXPECT_NE(read.faults[1].find("300 is outside 0..255"), std::string::npos) << read.faults[1];
  EXPECT_EQ(read.refusedLines.front(), "cc 17 21 base 0 0 255");
}

}  // namespace
