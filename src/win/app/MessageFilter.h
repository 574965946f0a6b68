#pragma once
// The application-wide message filter: sees every message taken from the queue before
// it is dispatched.
#include <windows.h>

namespace ov {

struct App;

class MessageFilter {
 public:
  explicit MessageFilter(App& app) : app_(app) {}
  // True when the message has been fully handled and must not be dispatched.
  bool Handle(const MSG& msg);

 private:
  App& app_;
};

}  // namespace ov
