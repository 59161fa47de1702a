// The remote control end to end on the loopback: a liblo client in the test sends valid, malformed,
// unknown and out-of-range messages to the document's OSC port, and the test checks the live set, the
// undo history, the refusals in the notice line, the replies to questions and the time stream.
#include <arpa/inet.h>
#include <lo/lo.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "authoring/undo_history.h"
#include "devmode/dev_document.h"
#include "development_folder.h"
#include "support/poll_until.h"
#include "support/temp_dir.h"
#include "tweak/tweak_setup.h"
#include "tweak/user_events.h"

namespace {

constexpr int kBG_r = 0, kTweakY = 5;

// What came back to the client: one line per message, "/quarnel/time i 1500".
int Collect(const char* path, const char* types, lo_arg** argv, int argc, lo_message, void* data) {
  std::string line = path;
  for (int i = 0; i < argc; ++i) {
    line += std::string(" ") + types[i] + " ";
    if (types[i] == 'i') line += std::to_string(argv[i]->i);
    else if (types[i] == 'f') line += std::to_string(argv[i]->f);
  }
  static_cast<std::vector<std::string>*>(data)->push_back(line);
  return 0;
}

class Osc : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);
    ASSERT_NO_FATAL_FAILURE(WriteTwoPresets(dir));
    WriteOneEntrySequence(dir);
    LoadDevelopmentEngine(engine, dir, messages);
    document.authoring = NewAuthoringSession(true, PlayOptions{});
    ConnectDocument(document);
    FillDocumentTweakHost(document, true);
    SetUpTweakForm(tweak);
    AttachTweak(document, tweak);
    ASSERT_EQ(StartOsc(document, "127.0.0.1", 0), "");
    const std::string port = std::to_string(document.osc->endpoint.Port());
    server = lo_address_new("127.0.0.1", port.c_str());
    client = lo_server_new_with_proto(nullptr, LO_UDP, nullptr);
    ASSERT_NE(client, nullptr);
    lo_server_add_method(client, nullptr, nullptr, Collect, &replies);
  }
  void TearDown() override {
    lo_address_free(server);
    lo_server_free(client);
  }

  void Send(const char* path, lo_message message) {
    ASSERT_GE(lo_send_message_from(server, client, path, message), 0);
    lo_message_free(message);
  }
  template <typename... Args>
  void Send(const char* path, const char* types, Args... args) {
    lo_message message = lo_message_new();
    ASSERT_EQ(lo_message_add(message, types, args...), 0);
    Send(path, message);
  }
  void Ask(const char* path) { Send(path, lo_message_new()); }
  // Bytes that are no OSC packet, from a socket of the test's own.
  void SendRaw(const std::string& bytes) {
    const int socket = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(document.osc->endpoint.Port());
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(sendto(socket, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to),
              ssize_t(bytes.size()));
    close(socket);
  }

  // Frames until done() holds, the remote control polled as every frame polls it.
  void Frames(const std::function<bool()>& done) {
    ASSERT_TRUE(PollUntil(done, kPollDeadline, [this] { PollOsc(document); }));
  }
  // Frames until the client has `count` replies (a follower's times are replies too).
  std::vector<std::string> Replies(size_t count) {
    PollUntil([&] { return replies.size() >= count; }, kPollDeadline,
              [this] {
                PollOsc(document);
                FollowOsc(document);
                while (lo_server_recv_noblock(client, 0) > 0) {
                }
              });
    return replies;
  }
  float Base(int index) const { return engine.scene.LiveParams[index].BaseVal; }
  int Refused() const { return document.osc->refused; }

  TempDir dir;
  DemoEngine engine;
  DevDocument document{engine};
  TweakForm tweak{document.tweakHost};
  std::vector<std::string> messages, replies;
  lo_address server = nullptr;
  lo_server client = nullptr;
};

TEST_F(Osc, EditsGoTheTweakWindowsWayOneUndoStepPerRun) {
  const TScene1ParamIArray start = engine.scene.LiveParams;
  Send("/quarnel/param/BG_r", "f", 100.0f);
  Send("/quarnel/param/BG_r", "i", 200);  // any number type for a real
  Frames([&] { return Base(kBG_r) == 200; });
  Send("/quarnel/param/_TweakY/form", "i", 2);
  Send("/quarnel/param/_TweakY/osc1", "f", 0.25f);
  Send("/quarnel/param/_TweakY/osc2", "d", -3.5);
  Frames([&] { return engine.scene.LiveParams[kTweakY].Osc2 == -3.5f; });
  EXPECT_EQ(engine.scene.LiveParams[kTweakY].OscForm, 2);
  EXPECT_EQ(engine.scene.LiveParams[kTweakY].Osc1, 0.25f);
  EXPECT_EQ(Refused(), 0) << tweak.controls.notice;
  EXPECT_TRUE(LiveSetUnsaved(tweak));
  ShowDocument(document);
  EXPECT_EQ(tweak.controls.caption, "[ tweak control ] v0.95b *") << "the unsaved marker";

  for (int step = 0; step < 3; ++step) RunDevCommand(document, DevCommand::Undo);  // osc2, osc1, form
  EXPECT_EQ(engine.scene.LiveParams[kTweakY].OscForm, start[kTweakY].OscForm);
  EXPECT_EQ(Base(kBG_r), 200) << "the base values are a step of their own";
  RunDevCommand(document, DevCommand::Undo);
  EXPECT_EQ(Base(kBG_r), start[kBG_r].BaseVal) << "the run of base values was one step";
}

TEST_F(Osc, WhatIsMalformedUnknownOrOutOfRangeChangesNothingAndIsCounted) {
  const TScene1ParamIArray start = engine.scene.LiveParams;
  SendRaw("not osc at all");
  Send("/quarnel/param/BG_r", "s", "red");                   // wrong type
  Send("/quarnel/param/BG_r", "ff", 1.0f, 2.0f);             // too many
  Send("/quarnel/follow", "s", "127.0.0.1");                 // missing one
  Send("/quarnel/bogus", "i", 1);                            // unknown address
  Send("/quarnel/param/NoSuchThing", "f", 1.0f);             // bad name
  Send("/quarnel/param/BG_r/wobble", "f", 1.0f);             // bad part
  Send("/quarnel/param/_TweakY/form", "i", 7);               // out of range
  Send("/quarnel/param/_TweakY/form", "f", 1.5f);            // not whole
  Send("/quarnel/preset", "i", 2);                           // no such preset
  Send("/quarnel/time", "i", 60001);                         // past the demo
  Send("/quarnel/play", "i", 2);                             // neither
  Send("/quarnel/follow", "si", "somewhere.example", 9000);  // no name lookups
  Send("/quarnel/morph", "f", 0.5f);                         // no preset picked to morph towards
  Send("/quarnel/param/BG_r", "f", 300.0f);                  // out of range, last
  Frames([&] { return Refused() == 15; });
  EXPECT_EQ(tweak.controls.notice,
            "OSC: 15 refused (last: /quarnel/param/BG_r 300: value outside the parameter's range)");
  EXPECT_TRUE(SameParams(engine.scene.LiveParams, start)) << "nothing applied";
  EXPECT_FALSE(LiveSetUnsaved(tweak));
  EXPECT_EQ(document.osc->followers.size(), 0u);
  EXPECT_EQ(engine.clock.DemoTime, 0u);
  EXPECT_TRUE(messages.empty()) << "no message box for a remote's mistakes";

  // A bundle with one broken element is refused whole: its good message is not applied either.
  std::string bundle("#bundle\0\0\0\0\0\0\0\0\1", 16);
  lo_message good = lo_message_new();
  lo_message_add_float(good, 50.0f);
  size_t goodBytes = 0;
  void* goodData = lo_message_serialise(good, "/quarnel/param/BG_r", nullptr, &goodBytes);
  const auto element = [&](const std::string& bytes) {
    const uint32_t size = htonl(static_cast<uint32_t>(bytes.size()));
    return std::string(reinterpret_cast<const char*>(&size), 4) + bytes;
  };
  SendRaw(bundle + element(std::string(static_cast<char*>(goodData), goodBytes)) + element("junk"));
  std::free(goodData);
  lo_message_free(good);
  Frames([&] { return Refused() == 16; });
  EXPECT_EQ(tweak.controls.notice, "OSC: 16 refused (last: (56 bytes): not an OSC message or bundle)");
  EXPECT_EQ(Base(kBG_r), start[kBG_r].BaseVal);
}

TEST_F(Osc, ABundleIsTakenInOrderAndAQuestionIsAnsweredToItsSender) {
  lo_bundle bundle = lo_bundle_new(LO_TT_IMMEDIATE);
  lo_message first = lo_message_new(), second = lo_message_new(), question = lo_message_new();
  lo_message_add_float(first, 40.0f);
  lo_message_add_float(second, 41.0f);
  lo_bundle_add_message(bundle, "/quarnel/param/BG_r", first);
  lo_bundle_add_message(bundle, "/quarnel/param/BG_r", second);
  lo_bundle_add_message(bundle, "/quarnel/param/BG_r", question);
  ASSERT_GE(lo_send_bundle_from(server, client, bundle), 0);
  lo_bundle_free_recursive(bundle);
  EXPECT_EQ(Replies(1), std::vector<std::string>{"/quarnel/param/BG_r f 41.000000"});
  EXPECT_EQ(Base(kBG_r), 41);

  replies.clear();
  Send("/quarnel/param/_TweakY/form", "i", 3);
  Ask("/quarnel/param/_TweakY/form");
  Ask("/quarnel/param/_TweakY/osc1");
  Ask("/quarnel/preset");
  Ask("/quarnel/play");
  Ask("/quarnel/follow");
  EXPECT_EQ(Replies(5), (std::vector<std::string>{
                            "/quarnel/param/_TweakY/form i 3",
                            "/quarnel/param/_TweakY/osc1 f " + std::to_string(engine.scene.LiveParams[kTweakY].Osc1),
                            "/quarnel/preset i 0", "/quarnel/play i 1", "/quarnel/follow i 0"}));
}

TEST_F(Osc, AMorphRunMovesTheSliderAsOneUndoStep) {
  engine.scene.ScenePresets[1][kTweakY].BaseVal = Base(kTweakY) + 4;
  const float tweakY = Base(kTweakY);
  SelectItem(tweak, TweakList::MorphPreset, 1);  // BG_r 10 towards 11, _TweakY 4 up
  Send("/quarnel/morph", "f", 0.25f);
  Send("/quarnel/morph", "d", 0.5);
  Ask("/quarnel/morph");
  EXPECT_EQ(Replies(1), std::vector<std::string>{"/quarnel/morph f 0.500000"});
  EXPECT_EQ(Base(kTweakY), tweakY + 2) << "the share of the way from where the run began, not from the last message";
  EXPECT_EQ(tweak.controls.Morph.position, 50) << "the slider shows it";
  Send("/quarnel/morph", "f", 1.5f);
  Send("/quarnel/morph", "i", -1);
  Frames([&] { return Refused() == 2; });
  EXPECT_EQ(tweak.controls.notice, "OSC: 2 refused (last: /quarnel/morph -1: morph share outside 0..1)");
  Send("/quarnel/morph", "i", 1);
  Frames([&] { return Base(kBG_r) == 11; });
  EXPECT_TRUE(LiveSetUnsaved(tweak));

  RunDevCommand(document, DevCommand::Undo);
  EXPECT_EQ(Base(kBG_r), 10) << "the run was one step";
  replies.clear();
  Ask("/quarnel/morph");
  EXPECT_EQ(Replies(1), std::vector<std::string>{"/quarnel/morph f 0.000000"}) << "no gesture going on";
}

TEST_F(Osc, PresetsPickOnlyOverASavedLiveSetAndTheClockSeeksAndPauses) {
  Send("/quarnel/preset", "i", 1);
  Frames([&] { return Base(kBG_r) == 11; });
  EXPECT_EQ(tweak.controls.PresetList.selected, 1);
  EXPECT_FALSE(LiveSetUnsaved(tweak));

  Send("/quarnel/param/BG_r", "f", 99.0f);
  Send("/quarnel/preset", "i", 0);
  Frames([&] { return Refused() == 1; });
  EXPECT_EQ(Base(kBG_r), 99) << "unsaved work is never replaced from outside";
  EXPECT_EQ(tweak.controls.notice,
            "OSC: 1 refused (last: /quarnel/preset 0: the live set has unsaved changes (save or undo them first: a "
            "remote pick cannot ask))");

  Send("/quarnel/time", "i", 12500);
  Frames([&] { return engine.clock.DemoTime == 12500; });
  Send("/quarnel/play", "i", 0);
  Frames([&] { return document.authoring->clock.paused; });
  Send("/quarnel/play", "i", 0);
  Send("/quarnel/time", "i", 60000);
  Frames([&] { return engine.clock.DemoTime == 60000; });
  EXPECT_TRUE(document.authoring->clock.paused) << "pausing twice is no toggle";
  Send("/quarnel/play", "i", 1);
  Frames([&] { return !document.authoring->clock.paused; });
  EXPECT_EQ(Refused(), 1);
}

TEST_F(Osc, AFollowerGetsTheTimeAtEveryFrameUntilItStops) {
  lo_server follower = lo_server_new_with_proto(nullptr, LO_UDP, nullptr);
  std::vector<std::string> stream;
  lo_server_add_method(follower, nullptr, nullptr, Collect, &stream);
  const int port = lo_server_get_port(follower);
  Send("/quarnel/follow", "si", "localhost", port);
  Send("/quarnel/follow", "si", "127.0.0.1", port);  // the same stream: still one
  Send("/quarnel/time", "i", 1500);
  Frames([&] { return document.osc->followers.size() == 1 && engine.clock.DemoTime == 1500; });
  FollowOsc(document);  // the frame after the seek
  engine.clock.DemoTime = 1517;
  FollowOsc(document);  // and the one after it
  ASSERT_TRUE(PollUntil([&] {
    while (lo_server_recv_noblock(follower, 0) > 0) {
    }
    return stream.size() >= 2;
  }));
  EXPECT_EQ(stream, (std::vector<std::string>{"/quarnel/time i 1500", "/quarnel/time i 1517"}));

  Send("/quarnel/follow", "si", "127.0.0.1", 0);
  Frames([&] { return document.osc->followers.empty(); });
  EXPECT_EQ(Refused(), 0) << tweak.controls.notice;
  lo_server_free(follower);
}

TEST_F(Osc, APortInUseIsRefusedWithItsReason) {
  DevDocument other{engine};
  const uint16_t taken = document.osc->endpoint.Port();
  EXPECT_EQ(StartOsc(other, "127.0.0.1", taken),
            "OSC: cannot listen on 127.0.0.1 port " + std::to_string(taken) + ": Address already in use");
  EXPECT_EQ(other.osc, nullptr);
  EXPECT_NE(StartOsc(other, "no.such.host.invalid", 0), "");
}

}  // namespace
