#pragma once
// Setting the tweak window up once the demo has started (SetUpTweakForm), and its keys and close button.
#include <cstdint>
#include <optional>

#include "tweak/tweak_controls.h"

// The four-line summary of the loaded data; a count of 0 shows -1 as its upper index.
std::string InfoText(int textureCount, int presetCount, int sequenceCount, uint32_t demoLengthMs);

// The info line of the section loop ("loop: 4000..8000ms"); empty when neither point is set.
std::string LoopInfoLine(std::optional<uint32_t> loopInMs, std::optional<uint32_t> loopOutMs);

// Writes the info label from the host's counts and DemoLength, and form.loopInfo as a fifth line when set.
void UpdateInfo(TweakForm& form);

// After the program read the sequence file again (host.DemoLength and host.SequenceCount updated): the
// info label and the time bar's range follow.
void SequenceChanged(TweakForm& form);

// Outside development mode: nothing. Otherwise shows the window with its running caption, lists the 77
// parameters and the seven oscillator forms, writes the info label, lists the loaded presets, copies
// preset 0 into the live set when there is one (selecting it by program, its file in the file field),
// and sets the time range. On the installed demo (host.readOnly) it says that nothing can be saved there.
void SetUpTweakForm(TweakForm& form);

inline constexpr int kKeyEscape = 27;
inline constexpr int kKeyF10 = 121;

// Escape hides the window, F10 ends the program; both tests are made, in this order.
void HideOrQuitKey(TweakForm& form, int keyCode);
void QuitClick(TweakForm& form);  // "outta here"
