#pragma once
// The entry store as the calendar drawing's source of day texts and colour codes.
#include "core/calendar/EntryStore.h"
#include "core/render/DayDataSource.h"

namespace ov {

class EntryStoreDays final : public IDayDataSource {
 public:
  explicit EntryStoreDays(EntryStore& store) : store_(store) {}
  DayData ReadDay(double date) override {
    TDayEntry e = store_.ReadDayEntry(date);
    return {std::move(e.Text), e.ColorCodes};
  }

 private:
  EntryStore& store_;
};

}  // namespace ov
