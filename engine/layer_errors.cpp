#include "engine/layer_errors.h"

#include <algorithm>

namespace {
bool Holds(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}
}  // namespace

bool TakeLayerError(LayerErrorFilter& filter, const std::string& text) {
  if (Holds(filter.thisFrame, text)) return false;
  filter.thisFrame.push_back(text);
  return !Holds(filter.shown, text);
}

void EndLayerErrorFrame(LayerErrorFilter& filter, bool developmentMode) {
  if (developmentMode && !filter.thisFrame.empty()) filter.shown.swap(filter.thisFrame);
  if (!developmentMode)
    for (std::string& text : filter.thisFrame)
      if (!Holds(filter.shown, text)) filter.shown.push_back(std::move(text));
  filter.thisFrame.clear();
}
