#pragma once
// The application-wide message filter: sees every message taken from the queue before
// it is dispatched — in the main loop, and through a thread message-filter hook in the
// modal loops of dialogs, message boxes and menus too, so a desktop click or a clock
// change is never lost while one of them runs.
#include <windows.h>

namespace ov {

struct App;

class MessageFilter {
 public:
  explicit MessageFilter(App& app);
  ~MessageFilter();
  MessageFilter(const MessageFilter&) = delete;
  MessageFilter& operator=(const MessageFilter&) = delete;

  // True when the message has been fully handled and must not be dispatched.
  bool Handle(const MSG& msg);

 private:
  static LRESULT CALLBACK HookProc(int code, WPARAM wp, LPARAM lp) noexcept;
  App& app_;
  HHOOK hook_ = nullptr;
};

}  // namespace ov
