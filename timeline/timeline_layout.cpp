#include "timeline/timeline_layout.h"

#include <algorithm>

#include "timeline/timeline_geometry.h"

namespace {

constexpr int kEdgePx = 4;
constexpr int kItemGapPx = 6;
constexpr int kButtonWidthPx = 44, kSaveButtonWidthPx = 100, kAddTrackButtonWidthPx = 70;
constexpr int kPreviewWidthPx = 124, kTallRowsWidthPx = 80;

// Places items of the given widths left to right, starting a new row where the next one does not fit.
class Flow {
 public:
  explicit Flow(int widthPx) : widthPx_(widthPx) {}
  ControlRectPx Place(int itemWidthPx) {
    if (xPx_ > kEdgePx && xPx_ + itemWidthPx > widthPx_ - kEdgePx) {
      xPx_ = kEdgePx;
      ++row_;
    }
    const ControlRectPx rect{xPx_, kEdgePx + row_ * (kTimelineControlHeightPx + kTimelineRowGapPx), itemWidthPx,
                             kTimelineControlHeightPx};
    xPx_ += itemWidthPx + kItemGapPx;
    return rect;
  }
  int Rows() const { return row_ + 1; }

 private:
  int widthPx_;
  int xPx_ = kEdgePx;
  int row_ = 0;
};

}  // namespace

TimelineLayout LayOutTimeline(int widthPx, int heightPx) {
  TimelineLayout layout;
  Flow flow(widthPx);
  for (int i = 0; i < kTimelineFieldCount; ++i) {
    const ControlRectPx both = flow.Place(kTimelineFieldCaptionPx + 2 + kTimelineFieldBoxPx);
    layout.captions[i] = {both.xPx, both.yPx, kTimelineFieldCaptionPx, both.heightPx};
    layout.fields[i] = {both.xPx + kTimelineFieldCaptionPx + 2, both.yPx, kTimelineFieldBoxPx, both.heightPx};
  }
  for (int i = 0; i < kTimelineButtonCount; ++i) {
    const auto button = static_cast<TimelineButton>(i);
    layout.buttons[i] = flow.Place(button == TimelineButton::Save       ? kSaveButtonWidthPx
                                   : button == TimelineButton::AddTrack ? kAddTrackButtonWidthPx
                                                                        : kButtonWidthPx);
  }
  layout.preview = flow.Place(kPreviewWidthPx);
  layout.tallRows = flow.Place(kTallRowsWidthPx);
  layout.controlRows = flow.Rows();

  const int statusYPx = kEdgePx + layout.controlRows * (kTimelineControlHeightPx + kTimelineRowGapPx);
  layout.status = {kEdgePx, statusYPx, std::max(0, widthPx - 2 * kEdgePx), kTimelineStatusHeightPx};
  const int canvasYPx = statusYPx + kTimelineStatusHeightPx + 2;
  const int canvasWidthPx = std::max(1, widthPx - kTimelineScrollbarPx);
  const int canvasHeightPx = std::max(kRowsTopPx + kMinRowHeightPx, heightPx - canvasYPx - kTimelineScrollbarPx);
  layout.canvas = {0, canvasYPx, canvasWidthPx, canvasHeightPx};
  layout.rowsScrollbar = {canvasWidthPx, canvasYPx + kRowsTopPx, kTimelineScrollbarPx, canvasHeightPx - kRowsTopPx};
  layout.axisScrollbar = {0, canvasYPx + canvasHeightPx, canvasWidthPx, kTimelineScrollbarPx};
  return layout;
}
