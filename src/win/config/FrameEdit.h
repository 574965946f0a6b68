#pragma once
// TFrEdit: the numeric field of the configuration window, a text field with an arrow
// pair and a thin position bar under them. The rules live in NumericField; this window
// shows them. Every text change is reported to the parent as WM_COMMAND with EN_CHANGE
// and the frame's id, after the field has handled it, so the parent reads Position().
#include <windows.h>

#include "core/config/NumericField.h"
#include "win/ui/Window.h"

namespace ov {

class TFrEdit final : public Window {
 public:
  TFrEdit(int16_t minimum, int16_t maximum, int16_t resetValue, bool showBar)
      : model_(minimum, maximum, resetValue), showBar_(showBar) {}

  // x, y, editWidth in pixels; the arrows are `spinWidth` wide and 21 high, the bar 6.
  bool Create(HWND parent, int id, int x, int y, int editWidth, int spinWidth, int editHeight, int barHeight,
              HFONT font);

  int16_t Position() const { return model_.Position(); }
  // Sets the value from code; the parent hears of it like of typed text.
  void SetPosition(int value);
  void SetStep(int16_t step) { model_.SetStep(step); }
  const NumericField& Model() const { return model_; }
  HWND EditHandle() const { return edit_; }
  // A new window font (the window moved to a monitor of another DPI); bold follows it.
  void SetFont(HFONT font);
  HWND SpinHandle() const { return spin_; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  static LRESULT CALLBACK ChildProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
  static LRESULT CALLBACK BarProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  // Edit1Change and its report to the parent.
  void Edit1Change();
  // Writes the field's text into the text field without handling it again.
  void ShowModelText();
  void ShowModelState();
  void NotifyParent();
  void PaintBar(HDC dc);

  NumericField model_;
  bool showBar_;
  HWND edit_ = nullptr, spin_ = nullptr, bar_ = nullptr;
  HFONT font_ = nullptr, boldFont_ = nullptr;
  bool settingText_ = false;
  bool dragging_ = false;
};

}  // namespace ov
