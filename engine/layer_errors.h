#pragma once
// Which layer evaluation errors open a message box. A layer whose values its types cannot hold fails
// again in every frame, or comes and goes with its oscillator, and several layers may fail with
// different texts. In normal play each text opens a box once per run; in development mode a text opens
// one again only when the last frame that failed did not report it (an edit changed the fault), however
// many frames without a fault came between. Playback never stops for a repeat.
#include <string>
#include <vector>

struct LayerErrorFilter {
  std::vector<std::string> shown;      // normal play: every text shown; development mode: the last failing frame's
  std::vector<std::string> thisFrame;  // texts reported so far in this frame
};

// Notes text for the current frame; true when it is to open a box.
bool TakeLayerError(LayerErrorFilter& filter, const std::string& text);

// Ends the current frame.
void EndLayerErrorFrame(LayerErrorFilter& filter, bool developmentMode);
