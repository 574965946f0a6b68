#pragma once
// Paths shortened for a narrow field: the file name stays, folders from the middle give
// way to an ellipsis.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace ov {

// `path` as it fits into `maxWidth` by `measure` (the width of a text in the field's font):
// unchanged when it fits; else the first component (drive or share), "…" and as many of the
// last folders as fit, always ending in the file name ("C:\…\Skin Images\gold.png"); when
// not even "…\name" fits, the name alone, cut in its middle ("very…name.png"). Backslash and
// slash both separate folders; UTF-8 sequences are never split.
std::string ShortenPathMiddle(std::string_view path, int32_t maxWidth,
                              const std::function<int32_t(std::string_view)>& measure);

}  // namespace ov
