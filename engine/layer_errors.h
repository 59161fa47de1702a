#pragma once
// Which layer evaluation errors reach the user. A layer whose values its types cannot hold fails again
// in every frame, and several layers may fail with different texts: each text is shown once, and again
// only after a frame that did not report it.
#include <string>
#include <vector>

struct LayerErrorFilter {
  std::vector<std::string> lastFrame;  // texts reported in the frame before
  std::vector<std::string> thisFrame;  // texts reported so far in this frame
};

// Notes text for the current frame; true when it is to be shown.
bool TakeLayerError(LayerErrorFilter& filter, const std::string& text);

// Ends the current frame.
void EndLayerErrorFrame(LayerErrorFilter& filter);
