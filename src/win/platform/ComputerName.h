#pragma once
// This computer's name (UTF-8), which names the conflict copies made here; empty when
// it cannot be read.
#include <string>

namespace ov {

std::string ComputerName();

}  // namespace ov
