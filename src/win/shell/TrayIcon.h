#pragma once
// The program's icon in the notification area: its hint, the busy animation while a
// wallpaper is composed, the right-click menu PopupTray and the double-click that opens
// the main window. A hidden window of its own receives the icon's messages and the
// shell's "TaskbarCreated", after which the icon is added again.
#include <windows.h>

#include <string>
#include <vector>

#include "win/ui/Window.h"

namespace ov {

struct App;

class TrayIcon final : public Window {
 public:
  explicit TrayIcon(App& app) : app_(app) {}
  ~TrayIcon() override;
  bool Create();

  // Busy animation: on shows the frames from the first one, every 100 ms; off keeps the
  // frame shown.
  void SetCycling(bool on);
  // Shows the day of `now` when the icon still shows another day (the day change).
  void ShowDay(double now);
  // Opens PopupTray at the cursor (what a right click on the icon does).
  void ShowMenu();
  // A notification from the icon (a balloon; a toast on Windows 10 and later). A click on
  // it goes to the reminders.
  void ShowBalloon(const std::string& title, const std::string& body);

  static constexpr UINT kCallbackMessage = WM_APP + 10;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool Add();
  void SetIcon(HICON icon);
  // The day's icon for `now` and the busy frames made from it.
  void MakeIcons(double now);

  App& app_;
  UINT taskbarCreated_ = 0;
  HICON icon_ = nullptr;
  bool ownIcon_ = false;
  int day_ = 0;  // the day of the month the icon shows
  std::vector<HICON> frames_;
  size_t frame_ = 0;
  bool cycling_ = false;
  bool added_ = false;
  HICON balloonIcon_ = nullptr;  // shared resource icon, not destroyed
};

}  // namespace ov
