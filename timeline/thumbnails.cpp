#include "timeline/thumbnails.h"

#include <algorithm>
#include <memory>

#include "gpu/gl_direct3d.h"
#include "draw/offscreen_demo.h"
#include "scene/scene_update.h"
#include "authoring/undo_history.h"

namespace {

constexpr uint32_t kOversample = 2;  // drawn at twice the size and scaled down: thin lines stay visible

RgbaImage ScaledDown(const RgbaImage& big, uint32_t widthPx, uint32_t heightPx) {
  RgbaImage small{widthPx, heightPx, std::vector<uint8_t>(size_t(widthPx) * heightPx * 4)};
  for (uint32_t y = 0; y < heightPx; ++y)
    for (uint32_t x = 0; x < widthPx; ++x)
      for (int c = 0; c < 4; ++c) {
        unsigned sum = 0;
        for (uint32_t dy = 0; dy < kOversample; ++dy)
          for (uint32_t dx = 0; dx < kOversample; ++dx) sum += big.Pixel(x * kOversample + dx, y * kOversample + dy)[c];
        small.rgba[(size_t(y) * widthPx + x) * 4 + c] = uint8_t(sum / (kOversample * kOversample));
      }
  return small;
}

// The offscreen renderer of the thread, started again when the size or ratio changes.
struct Renderer {
  RenderState state;
  uint32_t widthPx = 0, heightPx = 0;
  float ratio = 0;
  bool started = false;
  bool faulted = false;  // a fault was reported since the last picture
  ~Renderer() { ReleaseRenderObjects(state); }

  RgbaImage Draw(const ThumbnailRequest& request, const std::string& dataDir) {
    const uint32_t bigWidthPx = request.widthPx * kOversample, bigHeightPx = request.heightPx * kOversample;
    if (!started || bigWidthPx != widthPx || bigHeightPx != heightPx || request.ratio != ratio) {
      ReleaseRenderObjects(state);
      state = RenderState{};
      // The faults of a picture show where its entry plays; the thumbnail goes without the picture.
      state.callbacks.fatalError = [this](const std::string&) { faulted = true; };
      widthPx = bigWidthPx, heightPx = bigHeightPx, ratio = request.ratio;
      started =
          StartOffscreenRenderer(state, Direct3DCreate8(D3D_SDK_VERSION), dataDir, ratio, widthPx, heightPx).empty();
    }
    if (!started) return {};
    SceneState scene;
    scene.ScenePresets = {request.preset};
    scene.PresetCount = 1;
    scene.Envelopes = request.envelopes;
    SceneSequence sequence;
    sequence.DemoLength = kMaxEffectTime;
    sequence.ScreenCinemaWidthRatio = ratio;
    TSceneSeqEntry entry = request.entry;
    entry.PresetNumber = 0;
    sequence.SequenceEntries = {entry};
    const uint32_t middleMs = entry.StartTime + (std::max(entry.EndTime, entry.StartTime) - entry.StartTime) / 2;
    RgbaImage big;
    faulted = false;
    state.random.Seed(kRepeatableSeed);  // each picture its own stream: it shows the same whenever it is drawn
    const std::string error =
        DrawDemoFrameToImage(state, scene, sequence, middleMs, false, big, [](const std::string&) {});
    if (!error.empty() || faulted || big.widthPx != bigWidthPx || big.heightPx != bigHeightPx) return {};
    return ScaledDown(big, request.widthPx, request.heightPx);
  }
};

}  // namespace

bool ThumbnailRequest::operator==(const ThumbnailRequest& other) const {
  return entry == other.entry && ratio == other.ratio && widthPx == other.widthPx && heightPx == other.heightPx &&
         envelopes == other.envelopes && SameParams(preset, other.preset);
}

Thumbnails::Thumbnails(std::string dataDir) : dataDir_(std::move(dataDir)), worker_([this] { Run(); }) {}

Thumbnails::~Thumbnails() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_one();
  worker_.join();
}

bool Thumbnails::Want(int entry, const ThumbnailRequest& request) {
  const auto known = wanted_.find(entry);
  if (known != wanted_.end() && known->second == request) return false;
  wanted_[entry] = request;
  {
    std::lock_guard lock(mutex_);
    pending_[entry] = request;
  }
  wake_.notify_one();
  return true;
}

bool Thumbnails::Collect() {
  std::vector<std::pair<int, RgbaImage>> drawn;
  {
    std::lock_guard lock(mutex_);
    drawn.swap(drawn_);
  }
  for (auto& [entry, picture] : drawn)
    if (wanted_.count(entry)) pictures_[entry] = std::move(picture);
  return !drawn.empty();
}

const RgbaImage* Thumbnails::Picture(int entry) const {
  const auto found = pictures_.find(entry);
  return found == pictures_.end() || found->second.rgba.empty() ? nullptr : &found->second;
}

void Thumbnails::Keep(int count) {
  wanted_.erase(wanted_.lower_bound(count), wanted_.end());
  pictures_.erase(pictures_.lower_bound(count), pictures_.end());
  std::lock_guard lock(mutex_);
  pending_.erase(pending_.lower_bound(count), pending_.end());
}

void Thumbnails::Run() {
  std::unique_ptr<Renderer> renderer;  // started with the first request: no renderer for a window never drawn
  for (;;) {
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return stop_ || !pending_.empty(); });
    if (stop_) return;
    const auto first = pending_.begin();
    const int entry = first->first;
    const ThumbnailRequest request = std::move(first->second);
    pending_.erase(first);
    lock.unlock();
    if (!renderer) renderer = std::make_unique<Renderer>();
    RgbaImage picture = renderer->Draw(request, dataDir_);
    lock.lock();
    drawn_.emplace_back(entry, std::move(picture));
  }
}
