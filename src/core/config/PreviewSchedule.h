#pragma once
// When the preview is redrawn and at which quality: quick redraws while the user edits,
// and one full-quality redraw 300 ms after the last edit of a burst.
#include <cstdint>

namespace ov {

enum class PreviewQuality { Quick = 0, Full = 2 };

// What the schedule asks of the window: draw, and the one-shot delay timer.
class IPreviewHost {
 public:
  virtual ~IPreviewHost() = default;
  virtual void DrawPreview(PreviewQuality quality, bool adjust) = 0;
  virtual void StartDelayTimer(uint32_t milliseconds) = 0;
  virtual void StopDelayTimer() = 0;
};

class PreviewSchedule {
 public:
  static constexpr uint32_t kDelayMs = 300;

  explicit PreviewSchedule(IPreviewHost& host) : host_(host) {}

  // UpdatePreview: full quality with colour adjustments, now.
  void Full() { host_.DrawPreview(PreviewQuality::Full, true); }
  // UpdatePreviewFast: quick with adjustments now, and the full redraw after the delay.
  void Fast() {
    host_.DrawPreview(PreviewQuality::Quick, true);
    RestartDelay();
  }
  // UpdatePreviewDrag: quick without adjustments now, and the full redraw after the delay.
  void Drag() {
    host_.DrawPreview(PreviewQuality::Quick, false);
    RestartDelay();
  }
  // Switching the timer off and on again pushes the full redraw back.
  void RestartDelay() {
    host_.StopDelayTimer();
    host_.StartDelayTimer(kDelayMs);
    pending_ = true;
  }
  // TimerPreviewDelay fired: the timer goes off and the full redraw runs once.
  void DelayElapsed() {
    host_.StopDelayTimer();
    if (!pending_) return;
    pending_ = false;
    Full();
  }
  void Cancel() {
    host_.StopDelayTimer();
    pending_ = false;
  }
  bool Pending() const { return pending_; }

 private:
  IPreviewHost& host_;
  bool pending_ = false;
};

}  // namespace ov
