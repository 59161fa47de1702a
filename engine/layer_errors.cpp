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
  return !Holds(filter.lastFrame, text);
}

void EndLayerErrorFrame(LayerErrorFilter& filter) {
  filter.lastFrame.swap(filter.thisFrame);
  filter.thisFrame.clear();
}
