#pragma once
// The hidden top-level window that stands for the application as a whole: the hook
// library posts desktop clicks to it, and it carries the application title.
#include "win/ui/Window.h"

namespace ov {

class ApplicationWindow final : public Window {
 public:
  bool Create();
};

}  // namespace ov
