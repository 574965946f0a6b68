#pragma once
// The group "日历订阅" on the tab "项目": the subscribed calendars in a list (on/off as
// the row's check box, name, source, colour, state) and the buttons "添加...", "编辑...",
// "删除" and "立即刷新". A change is stored at once and handed to the reading worker.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "core/ical/Subscriptions.h"

namespace ov {

struct App;

class SubscriptionsGroup {
 public:
  explicit SubscriptionsGroup(App& app) : app_(app) {}

  // Builds the group on `page` at (x, y, w, h), given in 96-dpi units that `scale` turns
  // into pixels.
  void Create(HWND page, int x, int y, int w, int h, const std::function<int(int)>& scale, HFONT font);
  // The worker's states and the calendars' names changed: the list shows them.
  void StatesChanged();
  // The page's WM_COMMAND and WM_NOTIFY for these controls; true when handled.
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

 private:
  void Fill();
  void UpdateRow(int row);
  void AddClick();
  void EditClick();
  void DeleteClick();
  void RefreshClick();
  // Stores the list and hands it to the worker.
  void Apply();
  int SelectedRow() const;
  void UpdateButtons();

  App& app_;
  std::vector<Subscription> list_;
  HWND page_ = nullptr, view_ = nullptr, add_ = nullptr, edit_ = nullptr, delete_ = nullptr, refresh_ = nullptr;
  bool filling_ = false;
};

}  // namespace ov
