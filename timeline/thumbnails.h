#pragma once
// Small pictures of the sequence's entries for the timeline's bars: each entry's preset drawn offscreen
// (EGL) at the middle of the entry, as normal play draws it there. A thread of its own starts the
// offscreen renderer and draws the pictures, so the window never waits; it always takes the newest
// request of an entry, so dragging a bar asks for many pictures but draws few. Sizes are pixels.
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "gpu/rgba_image.h"
#include "scene/param_table.h"
#include "scene/sequence.h"

struct ThumbnailRequest {
  TScene1ParamIArray preset;
  TSceneSeqEntry entry;
  float ratio = 8;  // the letterbox ratio
  uint32_t widthPx = 0, heightPx = 0;
  std::shared_ptr<const SoundEnvelopes> envelopes;  // what the entry's followed parameters follow
  bool operator==(const ThumbnailRequest& other) const;
};

class Thumbnails {
 public:
  explicit Thumbnails(std::string dataDir);
  ~Thumbnails();  // stops the thread after the picture it is drawing
  Thumbnails(const Thumbnails&) = delete;
  Thumbnails& operator=(const Thumbnails&) = delete;

  // Asks for entry's picture. True when it is queued to be drawn; false (and nothing happens) when it is
  // drawn or asked for already.
  bool Want(int entry, const ThumbnailRequest& request);
  // Takes the pictures drawn since the last call; true when there were any.
  bool Collect();
  // The newest picture of entry (it may show the entry as it was before its last change); nullptr before
  // the first one is drawn.
  const RgbaImage* Picture(int entry) const;
  // Forgets the entries from count on.
  void Keep(int count);

 private:
  void Run();

  std::string dataDir_;
  std::map<int, ThumbnailRequest> wanted_;  // main thread: the newest request of each entry
  std::map<int, RgbaImage> pictures_;       // main thread
  std::mutex mutex_;
  std::condition_variable wake_;
  std::map<int, ThumbnailRequest> pending_;       // guarded: not drawn yet
  std::vector<std::pair<int, RgbaImage>> drawn_;  // guarded: drawn, not collected
  bool stop_ = false;                             // guarded
  std::thread worker_;
};
