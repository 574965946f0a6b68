#pragma once
// Stand-ins the rendering benchmarks share: a text renderer that measures text roughly
// and draws nothing (so the figures leave text drawing out), and a day source with an
// entry on every day and a colour code on every fifth.
#include <string_view>

#include "core/calendar/DateTime.h"
#include "core/render/CalendarRenderer.h"

namespace ov::bench {

class NoText final : public ITextRenderer {
 public:
  Size Measure(const FontSpec& font, std::string_view text) override {
    int32_t h = font.height < 0 ? -font.height : font.height;
    return {int32_t(text.size()) * h / 2, h};
  }
  void DrawInRect(TBitmap32&, const Rect&, uint32_t, const FontSpec&, uint32_t, std::string_view) override {}
};

class EveryDay final : public IDayDataSource {
 public:
  DayData ReadDay(double date) override { return {"Entry text for the day", DayNumber(date) % 5 == 0 ? 2u : 0u}; }
};

}  // namespace ov::bench
