#pragma once
// TFormPickDate: jump to any date from the desktop. A month calendar with OK and Cancel,
// shown without blocking the program, centred on the mouse cursor.
#include <functional>

#include "win/ui/Dialog.h"

namespace ov {

class TFormPickDate final : public Dialog {
 public:
  // Called with the picked date after the window has closed.
  explicit TFormPickDate(std::function<void(double)> onPicked) : onPicked_(std::move(onPicked)) {}
  bool Create(HWND owner);
  // Shows the picker set to `date`, centred on the cursor and kept on the desktop.
  void ShowFor(double date);

 protected:
  void OnCommand(int id, int code, HWND control) override;
  void DpiChanged(UINT fromDpi, UINT toDpi) override;
  LRESULT OnNotify(NMHDR* hdr) override;

 private:
  void Confirm();
  static LRESULT CALLBACK CalendarProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR) noexcept;

  std::function<void(double)> onPicked_;
  HWND calendar_ = nullptr;
  HWND ok_ = nullptr;
  HWND cancel_ = nullptr;
  DWORD lastClickTime_ = 0;
  POINT lastClick_{};
};

}  // namespace ov
