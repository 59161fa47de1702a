#include "tools/song.h"

#include <algorithm>
#include <cmath>

#include "tools/mixing.h"
#include "tools/voices.h"

// Positions inside the song are counted in beats from the start of a bar; frames are at kSampleRateHz.
namespace {

enum Section { intro, buildUp, mainPart, breakdown, finale, fadeOut };

const char* const kSectionNames[kSongSectionCount] = {"intro", "build-up", "main", "break", "finale", "fade-out"};
const int kSectionBars[kSongSectionCount] = {8, 8, 12, 4, 12, 4};  // the 48-bar (96 s) song
constexpr int kPlannedBars = 48;

constexpr int kBeatFrames = kSampleRateHz * kBeatMs / 1000;

// The eight-bar chord cycle Am F C G Am F Dm E, by bar number modulo 8.
const int kBassRoots[8] = {45, 41, 48, 43, 45, 41, 38, 40};
const int kChords[8][3] = {{57, 60, 64}, {57, 60, 65}, {55, 60, 64}, {55, 59, 62},
                           {57, 60, 64}, {57, 60, 65}, {57, 62, 65}, {56, 59, 64}};

// The eight-bar melody over that cycle: start and length in eighth notes, MIDI note.
struct MelodyNote {
  int startEighth, lengthEighths, midiNote;
};
const std::vector<MelodyNote> kMelody[8] = {
    {{0, 2, 76}, {2, 1, 72}, {3, 1, 74}, {4, 2, 76}, {6, 2, 81}},
    {{0, 3, 77}, {3, 1, 76}, {4, 2, 72}, {6, 2, 69}},
    {{0, 2, 72}, {2, 2, 76}, {4, 3, 79}, {7, 1, 76}},
    {{0, 4, 74}, {4, 2, 71}, {6, 2, 74}},
    {{0, 2, 76}, {2, 2, 81}, {4, 1, 79}, {5, 1, 76}, {6, 2, 72}},
    {{0, 2, 77}, {2, 2, 81}, {4, 2, 84}, {6, 2, 81}},
    {{0, 2, 77}, {2, 2, 74}, {4, 1, 77}, {5, 1, 76}, {6, 2, 74}},
    {{0, 4, 80}, {4, 2, 76}, {6, 2, 71}},
};

// Arpeggio over the chord plus its root an octave up, one index per sixteenth.
const int kArpPattern[16] = {0, 1, 2, 3, 1, 2, 3, 2, 0, 1, 2, 3, 1, 2, 3, 2};
const int kBassPattern[8] = {0, 0, 12, 0, 0, 12, 0, 12};

size_t At(int bar, double beat) { return static_cast<size_t>(std::lround((bar * 4 + beat) * kBeatFrames)); }
size_t Beats(double beats) { return static_cast<size_t>(std::lround(beats * kBeatFrames)); }

struct Buses {
  StereoBus drums, bass, pad, lead;  // lead carries the lead and the arpeggio and gets the echo
};

void AddMelodyBar(Buses& buses, int bar, float gain, int octaveShift) {
  for (const MelodyNote& note : kMelody[bar % 8])
    AddLead(buses.lead, At(bar, note.startEighth * 0.5), Beats(note.lengthEighths * 0.5 * 0.9),
            note.midiNote + octaveShift, gain);
}

void AddArpBar(Buses& buses, int bar, float gain, int stepsPerBeat) {
  const int* chord = kChords[bar % 8];
  for (int step = 0; step < 4 * stepsPerBeat; ++step) {
    const int index = kArpPattern[(step * 4 / stepsPerBeat) % 16];
    const int note = (index == 3 ? chord[0] + 12 : chord[index]) + 12;
    AddPluck(buses.lead, At(bar, static_cast<double>(step) / stepsPerBeat), note, gain, step % 2 ? 0.5f : -0.5f);
  }
}

void AddPadBar(Buses& buses, int bar, float gain, float brightnessHz) {
  for (int note : kChords[bar % 8]) AddPad(buses.pad, At(bar, 0), Beats(4), note, gain, brightnessHz);
}

void AddBassBar(Buses& buses, int bar, float gain, bool rolling) {
  const int root = kBassRoots[bar % 8];
  for (int eighth = 0; eighth < 8; ++eighth) {
    if (!rolling && eighth % 2 == 0) continue;  // off-beat bass
    AddBass(buses.bass, At(bar, eighth * 0.5), Beats(0.4), root + (rolling ? kBassPattern[eighth] : 0), gain);
  }
}

void AddBeatBar(Buses& buses, int bar, bool snare, bool sixteenthHats, bool openHats) {
  for (int beat = 0; beat < 4; ++beat) {
    AddKick(buses.drums, At(bar, beat), 0.55f);
    if (snare && beat % 2 == 1) AddSnare(buses.drums, At(bar, beat), 0.75f);
    AddHat(buses.drums, At(bar, beat + 0.5), 0.45f, openHats);
    if (sixteenthHats) {
      AddHat(buses.drums, At(bar, beat + 0.25), 0.2f, false);
      AddHat(buses.drums, At(bar, beat + 0.75), 0.26f, false);
    } else {
      AddHat(buses.drums, At(bar, beat), 0.2f, false);
    }
  }
}

void AddSnareRoll(Buses& buses, int bar) {
  for (int step = 0; step < 16; ++step) AddSnare(buses.drums, At(bar, step * 0.25), 0.15f + 0.6f * step / 15.0f);
}

// One bar of the given section; barInSection 0..sectionBars-1.
void ComposeBar(Buses& buses, int bar, Section section, int barInSection, int sectionBars) {
  const bool lastBar = barInSection == sectionBars - 1;
  const bool secondHalf = barInSection >= sectionBars / 2;
  switch (section) {
    case intro:
      AddPadBar(buses, bar, 0.45f, 350.0f * std::pow(4.5f, static_cast<float>(barInSection) / sectionBars));
      if (secondHalf) {
        for (int beat = 0; beat < 4; ++beat) AddHat(buses.drums, At(bar, beat + 0.5), 0.25f, false);
        AddArpBar(buses, bar, 0.2f, 2);
      }
      if (lastBar && sectionBars > 1) AddRiser(buses.drums, At(bar, 0), Beats(4), 0.3f);
      break;
    case buildUp:
      if (barInSection == 0) AddCrash(buses.drums, At(bar, 0), 0.4f);
      AddPadBar(buses, bar, 0.38f, 1600.0f);
      AddBassBar(buses, bar, 0.8f, false);
      AddArpBar(buses, bar, 0.26f, 4);
      AddBeatBar(buses, bar, secondHalf && !lastBar, false, false);
      if (lastBar) {
        AddSnareRoll(buses, bar);
        AddRiser(buses.drums, At(bar, 0), Beats(4), 0.3f);
      }
      break;
    case mainPart:
    case finale:
      if (barInSection % 4 == 0) AddCrash(buses.drums, At(bar, 0), barInSection == 0 ? 0.45f : 0.25f);
      AddPadBar(buses, bar, 0.3f, section == finale ? 2600.0f : 2000.0f);
      AddBassBar(buses, bar, 0.8f, true);
      AddBeatBar(buses, bar, true, true, section == finale || barInSection % 2 == 1);
      AddMelodyBar(buses, bar, 0.9f, 0);
      if (section == finale) {
        AddMelodyBar(buses, bar, 0.3f, 12);
        AddArpBar(buses, bar, 0.22f, 4);
      }
      if (lastBar) {
        AddSnare(buses.drums, At(bar, 3.5), 0.5f);
        AddSnare(buses.drums, At(bar, 3.75), 0.6f);
      }
      break;
    case breakdown:
      AddPadBar(buses, bar, 0.45f, 1100.0f);
      AddBass(buses.bass, At(bar, 0), Beats(3.8), kBassRoots[bar % 8], 0.5f);
      AddMelodyBar(buses, bar, 0.6f, 0);
      if (barInSection == std::max(0, sectionBars - 2)) AddRiser(buses.drums, At(bar, 0), Beats(8), 0.4f);
      if (lastBar) AddSnareRoll(buses, bar);
      break;
    case fadeOut:
      if (barInSection == 0) AddCrash(buses.drums, At(bar, 0), 0.4f);
      AddPadBar(buses, bar, 0.45f, 1400.0f);
      AddBass(buses.bass, At(bar, 0), Beats(3.8), kBassRoots[bar % 8], 0.6f);
      AddArpBar(buses, bar, 0.2f, 2);
      if (!secondHalf) AddBeatBar(buses, bar, false, false, false);
      break;
  }
}

bool HasKick(Section section, int barInSection, int sectionBars) {
  return section == buildUp || section == mainPart || section == finale ||
         (section == fadeOut && barInSection < sectionBars / 2);
}

}  // namespace

int SongBarCount(double seconds) { return static_cast<int>(std::ceil(seconds * 1000.0 / kBarMs - 1e-9)); }

std::vector<SongSection> PlanSections(int barCount) {
  std::vector<SongSection> sections;
  int plannedBars = 0;
  for (int i = 0; i < kSongSectionCount; ++i) {
    sections.push_back(
        {kSectionNames[i], static_cast<int>(std::lround(static_cast<double>(barCount) * plannedBars / kPlannedBars))});
    plannedBars += kSectionBars[i];
  }
  return sections;
}

std::vector<int16_t> ComposeSong(double seconds) {
  const size_t frames = static_cast<size_t>(std::llround(seconds * kSampleRateHz));
  const int barCount = SongBarCount(seconds);
  const std::vector<SongSection> sections = PlanSections(barCount);
  Buses buses{MakeBus(frames), MakeBus(frames), MakeBus(frames), MakeBus(frames)};
  for (int s = 0; s < kSongSectionCount; ++s) {
    const int endBar = s + 1 < kSongSectionCount ? sections[s + 1].startBar : barCount;
    const int sectionBars = endBar - sections[s].startBar;
    for (int bar = sections[s].startBar; bar < endBar; ++bar) {
      const int barInSection = bar - sections[s].startBar;
      ComposeBar(buses, bar, static_cast<Section>(s), barInSection, sectionBars);
      if (HasKick(static_cast<Section>(s), barInSection, sectionBars))
        DuckOnBeats(buses.pad, At(bar, 0), At(bar + 1, 0), kBeatFrames, 0.45f);
    }
  }
  AddEcho(buses.lead, Beats(0.75), 0.38f, 0.35f);
  StereoBus master = MakeBus(frames);
  MixInto(master, buses.drums, 1.0f);
  MixInto(master, buses.bass, 1.0f);
  MixInto(master, buses.pad, 0.7f);
  MixInto(master, buses.lead, 0.6f);
  const size_t minimumFadeFrames = std::min<size_t>(frames, 2 * kSampleRateHz);
  FadeEdges(master, std::min(At(sections[fadeOut].startBar, 0), frames - minimumFadeFrames));
  SoftLimit(master, 1.5f);
  return ToPcm16(master, 0.8f);
}
