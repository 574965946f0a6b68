#pragma once
// The program file's version resource.
#include "core/app/VersionText.h"

namespace ov {

FileVersion ReadFileVersion();

}  // namespace ov
