#pragma once
// The calendar drawing's day data taken from the entry store: each day's note text and
// colour-code mask.
#include "core/calendar/EntryStore.h"
#include "core/render/DayDataSource.h"

namespace ov {

class EntryDayData final : public IDayDataSource {
 public:
  explicit EntryDayData(EntryStore& store) : store_(store) {}
  DayData ReadDay(double date) override {
    TDayEntry e = store_.ReadDayEntry(date);
    return {std::move(e.Text), e.ColorCodes};
  }

 private:
  EntryStore& store_;
};

}  // namespace ov
