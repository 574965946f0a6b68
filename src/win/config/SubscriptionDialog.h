#pragma once
// The dialog "日历订阅" that adds or edits one subscribed calendar: its source (a file,
// chosen with "浏览...", or a web address), its name, its colour, how often it is
// refreshed and whether it is on.
#include <windows.h>

#include "core/ical/Subscriptions.h"
#include "win/ui/Dialog.h"

namespace ov {

class SubscriptionDialog final : public Dialog {
 public:
  // Shows the dialog modally over `owner` with `sub` filled in; true and `sub` changed
  // when the user confirmed a usable source.
  bool Edit(HWND owner, bool adding, Subscription& sub);

 protected:
  void OnCommand(int id, int code, HWND control) override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Browse();
  void PickColor();
  bool Confirm();

  Subscription sub_;
  HWND source_ = nullptr, name_ = nullptr, swatch_ = nullptr, refreshSpin_ = nullptr, enabled_ = nullptr;
  HBRUSH swatchBrush_ = nullptr;
};

}  // namespace ov
