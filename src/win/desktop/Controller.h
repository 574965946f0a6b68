#pragma once
// TFController: the tiny translucent bar over one end of the calendar's title strip on
// the desktop: "<" and ">" browse months, "菜单" opens the most used calendar commands.
// It always stays at the bottom of the window stack and follows the controller rectangle
// of the last wallpaper render.
#include <windows.h>

#include <string>
#include <vector>

#include "core/util/Rect.h"
#include "win/ui/Window.h"

namespace ov {

struct App;

class TFController final : public Window {
 public:
  explicit TFController(App& app) : app_(app) {}
  ~TFController() override;

  bool Create(HWND owner);
  // Sets the window's bounds (screen pixels, the 96-dpi width at one end of the title
  // strip) without showing it; the width, arrows and captions follow the monitor's DPI.
  void SetBounds(const Rect& r);
  // Shows it at the bottom of the stack with ControllerAlpha and the hints setting.
  void ShowController();
  void HideController();

  // The three panels, left to right, in client pixels.
  enum Panel { kNone = -1, kPanelBack = 0, kPanelMenu = 1, kPanelNext = 2 };
  RECT PanelRect(int panel) const;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  int PanelAt(int x, int y) const;
  void Paint(HDC dc);
  void ApplyDpi(UINT dpi);
  void UpdateHintRects();
  void ShowMenu(POINT releaseInPanel);
  void RunCommand(int id);

  App& app_;
  HWND tooltip_ = nullptr;
  HFONT font_ = nullptr;
  int pressed_ = kNone;
  Rect strip_;         // the rectangle last given to SetBounds
  int arrowWidth_ = 16;
  std::vector<std::string> menuSections_;  // the sections the open menu was built from
};

}  // namespace ov
