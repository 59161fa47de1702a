#include "devmode/osc_control.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_map>

#include "devmode/dev_document.h"
#include "devmode/devmode_messages.h"
#include "devmode/osc_packet.h"
#include "scene/decimal_text.h"
#include "scene/printable_text.h"
#include "tweak/tweak_messages.h"
#include "tweak/user_events.h"

namespace {

constexpr char kParamPrefix[] = "/quarnel/param/";
constexpr size_t kShownPathChars = 60;
constexpr size_t kShownTextChars = 30;

enum class Target { Param, Preset, Time, Play, Morph, Follow };

struct Address {
  Target target = Target::Param;
  int index = 0;  // the parameter's
  ParamPart part = ParamPart::BaseVal;
};

// A parameter's index by its name after the type prefix, from the table's own names.
std::optional<int> ParamIndexNamed(const std::string& name) {
  static const std::unordered_map<std::string, int> indices = [] {
    std::unordered_map<std::string, int> byName;
    const TScene1ParamIArray table = InitParamTable();
    for (int i = 0; i < kParamCount; ++i) byName.emplace(ShortName(table[i].Name), i);
    return byName;
  }();
  const auto found = indices.find(name);
  return found == indices.end() ? std::nullopt : std::optional<int>(found->second);
}

std::optional<Address> AddressOf(const std::string& path) {
  if (path == "/quarnel/preset") return Address{Target::Preset};
  if (path == "/quarnel/time") return Address{Target::Time};
  if (path == "/quarnel/play") return Address{Target::Play};
  if (path == "/quarnel/morph") return Address{Target::Morph};
  if (path == "/quarnel/follow") return Address{Target::Follow};
  if (path.rfind(kParamPrefix, 0) != 0) return std::nullopt;
  std::string name = path.substr(sizeof kParamPrefix - 1);
  ParamPart part = ParamPart::BaseVal;
  const size_t slash = name.find('/');
  if (slash != std::string::npos) {
    const std::string partName = name.substr(slash + 1);
    if (partName == "form") part = ParamPart::OscForm;
    else if (partName == "osc1") part = ParamPart::Osc1;
    else if (partName == "osc2") part = ParamPart::Osc2;
    else return std::nullopt;
    name.resize(slash);
  }
  const std::optional<int> index = ParamIndexNamed(name);
  if (!index) return std::nullopt;
  return Address{Target::Param, *index, part};
}

// The argument types an address takes to set it.
std::string TypesOf(const Address& address) {
  switch (address.target) {
    case Target::Param: return address.part == ParamPart::OscForm ? "i" : "f";
    case Target::Morph: return "f";
    case Target::Follow: return "si";
    default: return "i";
  }
}

bool IsNumber(char type) { return type == 'i' || type == 'h' || type == 'f' || type == 'd'; }
bool IsText(char type) { return type == 's' || type == 'S'; }

// The arguments fit the types wanted (any number for a number, a whole one for 'i'); "" or why not.
std::string CheckArgs(const std::vector<OscArg>& args, const std::string& types) {
  const std::string expected = kOscExpects + types + kOscOrNothing;
  if (args.size() != types.size()) return expected;
  for (size_t i = 0; i < args.size(); ++i) {
    const bool number = types[i] != 's';
    if (number ? !IsNumber(args[i].type) : !IsText(args[i].type)) return expected;
    if (types[i] == 'i' && (args[i].number != std::trunc(args[i].number) || std::fabs(args[i].number) > INT32_MAX))
      return kOscNotWhole;
  }
  return "";
}

// A message as the notice line shows it: "/quarnel/param/BG_r 300".
std::string MessageText(const OscMessage& message) {
  std::string text = QuotedText(message.path, kShownPathChars);
  for (const OscArg& arg : message.args) {
    text += ' ';
    if (arg.type == 'i' || arg.type == 'h') text += std::to_string(static_cast<int64_t>(arg.number));
    else if (IsNumber(arg.type)) text += FormatShortest(static_cast<float>(arg.number));
    else if (IsText(arg.type)) text += "'" + QuotedText(arg.text, kShownTextChars) + "'";
    else text += std::string(1, arg.type);
  }
  return text;
}

void Refuse(DevDocument& document, const std::string& what, const std::string& reason) {
  OscControl& osc = *document.osc;
  ++osc.refused;
  osc.lastRefused = what + ": " + reason;
  TweakForm& form = *document.tweak;
  form.controls.notice = kOscRefusedStart + std::to_string(osc.refused) + kOscRefusedCount + osc.lastRefused + ")";
  form.changed = true;
}

void Reply(DevDocument& document, const OscPeer& sender, const std::string& path, const OscArg& value) {
  document.osc->endpoint.Send(sender, WriteOscMessage({path, {value}}));
}

// The value an address holds now, as its reply carries it.
OscArg ValueOf(DevDocument& document, const Address& address) {
  const DemoEngine& engine = document.engine;
  switch (address.target) {
    case Target::Param: {
      const TScene1ParamInterface& param = engine.scene.LiveParams[address.index];
      switch (address.part) {
        case ParamPart::BaseVal: return OscFloat(param.BaseVal);
        case ParamPart::OscForm: return OscInt(param.OscForm);
        case ParamPart::Osc1: return OscFloat(param.Osc1);
        case ParamPart::Osc2: return OscFloat(param.Osc2);
      }
      break;
    }
    case Target::Preset: return OscInt(document.tweak->controls.PresetList.selected);
    case Target::Time: return OscInt(static_cast<int32_t>(engine.clock.DemoTime));
    case Target::Play: return OscInt(document.authoring && !document.authoring->clock.paused);
    case Target::Morph: return OscFloat(static_cast<float>(MorphShare(*document.tweak)));
    case Target::Follow: return OscInt(static_cast<int32_t>(document.osc->followers.size()));
  }
  return OscInt(0);
}

std::string PickPreset(DevDocument& document, int number) {
  TweakForm& form = *document.tweak;
  if (number < 0 || number >= static_cast<int>(form.controls.PresetList.items.size())) return kOscNoSuchPreset;
  if (LiveSetUnsaved(form)) return kOscPresetUnsaved;
  SelectItem(form, TweakList::PresetList, number);
  return "";
}

std::string Seek(DevDocument& document, int64_t demoTimeMs) {
  const uint32_t lengthMs = document.engine.sequence.DemoLength;
  if (demoTimeMs < 0 || demoTimeMs > lengthMs) return kOscTimeOutside + std::to_string(lengthMs) + kOscTimeOutsideEnd;
  return SeekDemo(document, static_cast<uint32_t>(demoTimeMs)) ? "" : kMsgTimeJumpOverflow;
}

std::string Play(DevDocument& document, int64_t play) {
  if (play != 0 && play != 1) return kOscNotZeroOrOne;
  if (!document.authoring) return kOscNoClock;
  if (document.authoring->clock.paused == (play == 1)) RunDevCommand(document, DevCommand::TogglePause);
  return "";
}

// host port: a stream to there (once), or with port 0 the end of every stream to host.
std::string Follow(DevDocument& document, const std::string& host, int64_t port) {
  OscControl& osc = *document.osc;
  if (port < 0 || port > UINT16_MAX) return kOscBadPort;
  OscPeer peer;
  if (std::string fault = osc.endpoint.Peer(host, static_cast<uint16_t>(port), peer); !fault.empty()) return fault;
  if (port == 0) {
    std::erase_if(osc.followers, [&](const OscPeer& each) { return each.SameHost(peer); });
    return "";
  }
  if (std::find(osc.followers.begin(), osc.followers.end(), peer) != osc.followers.end()) return "";
  if (osc.followers.size() >= kOscMaxFollowers) return kOscTooManyFollowers + std::to_string(kOscMaxFollowers) + ")";
  osc.followers.push_back(peer);
  return "";
}

// Sets what the address names from the message's arguments, already checked; "" or why not.
std::string Apply(DevDocument& document, const Address& address, const std::vector<OscArg>& args) {
  switch (address.target) {
    case Target::Param: return SetParamFromOutside(*document.tweak, address.index, address.part, args[0].number);
    case Target::Preset: return PickPreset(document, static_cast<int>(args[0].number));
    case Target::Time: return Seek(document, static_cast<int64_t>(args[0].number));
    case Target::Play: return Play(document, static_cast<int64_t>(args[0].number));
    case Target::Morph: return SetMorphFromOutside(*document.tweak, args[0].number);
    case Target::Follow: return Follow(document, args[0].text, static_cast<int64_t>(args[1].number));
  }
  return "";
}

void Take(DevDocument& document, const OscMessage& message, const OscPeer& sender) {
  const std::optional<Address> address = AddressOf(message.path);
  if (!address) return Refuse(document, MessageText(message), kOscUnknownAddress);
  if (message.args.empty()) return Reply(document, sender, message.path, ValueOf(document, *address));
  std::string fault = CheckArgs(message.args, TypesOf(*address));
  if (fault.empty()) fault = Apply(document, *address, message.args);
  if (!fault.empty()) Refuse(document, MessageText(message), fault);
}

}  // namespace

std::string StartOsc(DevDocument& document, const std::string& address, uint16_t port) {
  auto osc = std::make_unique<OscControl>();
  if (std::string fault = osc->endpoint.Listen(address, port); !fault.empty())
    return kOscCannotListen + address + kOscCannotListenPort + std::to_string(port) + ": " + fault;
  document.osc = std::move(osc);
  return "";
}

void PollOsc(DevDocument& document) {
  if (!document.osc || !document.tweak) return;
  std::vector<uint8_t> datagram;
  OscPeer sender;
  for (int n = 0; n < kOscMaxDatagramsPerFrame && document.osc->endpoint.Receive(datagram, sender); ++n) {
    std::vector<OscMessage> messages;
    if (std::string fault = ReadOscPacket(datagram, messages); !fault.empty()) {
      Refuse(document, "(" + std::to_string(datagram.size()) + kOscDatagramBytes + ")", fault);
      continue;
    }
    for (const OscMessage& message : messages) Take(document, message, sender);
  }
}

void FollowOsc(DevDocument& document) {
  if (!document.osc || document.osc->followers.empty()) return;
  const std::vector<uint8_t> time =
      WriteOscMessage({"/quarnel/time", {OscInt(static_cast<int32_t>(document.engine.clock.DemoTime))}});
  for (const OscPeer& follower : document.osc->followers) document.osc->endpoint.Send(follower, time);
}
