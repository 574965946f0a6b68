#pragma once
// TFRepeat "重复": the choices for repeating an entry or a colour code over a series of
// days. Created once at start-up and reused, so the user's last choices stay.
#include <functional>

#include "core/calendar/Repeat.h"
#include "win/ui/Dialog.h"

namespace ov {

class TFRepeat final : public Dialog {
 public:
  // onRepeatColorsChanged is told at once when CheckRepeatColorsAlso is ticked or cleared.
  explicit TFRepeat(std::function<void(bool)> onRepeatColorsChanged)
      : onRepeatColorsChanged_(std::move(onRepeatColorsChanged)) {}
  bool Create(HWND owner);

  // Shows the dialog beside the pop-up window as it lies on the screen, inside the work
  // area of its monitor, modal to it (`popup` is disabled meanwhile).
  // targetOptions offers the three choices for days that already have text; showColors
  // shows CheckRepeatColorsAlso (ticked from repeatColors). True when confirmed; the series
  // is then in Series().
  bool ShowRepeatDialog(HWND popup, bool targetOptions, bool showColors, bool repeatColors, double date);

  const RepeatSeries& Series() const { return series_; }
  const RepeatChoices& Choices() const { return choices_; }

 protected:
  void OnCommand(int id, int code, HWND control) override;
  void DpiChanged(UINT fromDpi, UINT toDpi) override;

 private:
  void ReadControls();
  void UpdateEnabling();
  int CheckedKindTag() const;

  std::function<void(bool)> onRepeatColorsChanged_;
  RepeatChoices choices_;
  RepeatSeries series_;
  double start_ = 0;
  HWND everyDaysSpin_ = nullptr, afterSpin_ = nullptr, afterMode_ = nullptr, endDate_ = nullptr;
  HWND colorsCheck_ = nullptr;
  HWND targetGroup_ = nullptr;
};

}  // namespace ov
