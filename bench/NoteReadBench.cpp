// Reading the notes a full-size render needs: 50 week rows, 350 days, from a warm disk.
// Target: under 10 ms for all of them.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/calendar/DateTime.h"
#include "core/calendar/EntryStore.h"
#include "core/calendar/WeekGrid.h"
#include "core/platform/CodePage.h"

namespace {

namespace fs = std::filesystem;
using namespace ov;

constexpr int kRows = 50;

// A data folder with a note for every day of a 50-row grid and a codes file per year.
class NoteTree {
 public:
  NoteTree() {
    std::random_device rd;
    root_ = fs::temp_directory_path() / ("ov-bench-" + std::to_string(rd()));
    fs::create_directories(root_);
    layout_.displayDate = EncodeDate(2025, 6, 14);
    layout_.rows = kRows;
    layout_.pastWeeks = 2;
    EntryStore store(Entries(), "默认", codePage_);
    // Every cell of the grid without month breaks: 350 days.
    for (int i = 0; i < 7 * kRows; ++i) {
      const double day = FirstCellOf(layout_).date + i;
      days_.push_back(day);
      store.WriteNoteText("Meeting at " + std::to_string(9 + i % 8) + ":00\nBring the report for week " +
                              std::to_string(IsoWeekNumber(day)),
                          day);
    }
    for (int year : {2025, 2026}) {
      YearCodes codes{};
      codes[static_cast<size_t>(year % 7)] = 1;
      WriteYearCodes(Entries(), year, codes);
    }
  }
  ~NoteTree() {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  fs::path Entries() const { return root_ / "Entries"; }
  const std::vector<double>& Days() const { return days_; }
  const GridLayout& Layout() const { return layout_; }
  const ICodePage& CodePage() const { return codePage_; }

 private:
  fs::path root_;
  Latin1CodePage codePage_;
  GridLayout layout_;
  std::vector<double> days_;
};

NoteTree& Tree() {
  static NoteTree tree;
  return tree;
}

// ReadDayEntry for each of the 350 days, as the renderer reads them.
void BM_Read350Notes(benchmark::State& state) {
  NoteTree& tree = Tree();
  EntryStore store(tree.Entries(), "默认", tree.CodePage());
  size_t bytes = 0;
  for (auto _ : state) {
    for (double day : tree.Days()) {
      TDayEntry e = store.ReadDayEntry(day);
      bytes += e.Text.size();
      benchmark::DoNotOptimize(e);
    }
  }
  state.counters["notes"] = static_cast<double>(tree.Days().size());
  benchmark::DoNotOptimize(bytes);
}
BENCHMARK(BM_Read350Notes)->Unit(benchmark::kMillisecond);

// The renderer's whole data path: the grid walk over 50 rows with a note read per day.
void BM_WalkAndRead50Rows(benchmark::State& state) {
  NoteTree& tree = Tree();
  EntryStore store(tree.Entries(), "默认", tree.CodePage());
  const GridGeometry geometry = GridGeometry::FromEdges(400, 100, 1800, 100 + kRows * 20, kRows, 1);
  int days = 0;
  for (auto _ : state) {
    GridWalkResult r = WalkGrid(
        tree.Layout(), geometry, tree.Layout().displayDate, [&](double d) { return store.ColorCodesOf(d); },
        [&](const GridDay& d) {
          TDayEntry e = store.ReadDayEntry(d.date);
          benchmark::DoNotOptimize(e);
        });
    days = r.days;
  }
  state.counters["days"] = days;
}
BENCHMARK(BM_WalkAndRead50Rows)->Unit(benchmark::kMillisecond);

}  // namespace
