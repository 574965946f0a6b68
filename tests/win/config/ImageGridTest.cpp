// The library grid asks for a row's thumbnail when it paints the row without one. A
// picture that gives none is asked for once, however often its row is painted again,
// until the library is rebuilt.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "core/render/Bitmap32.h"
#include "win/config/ImageGrid.h"

namespace ov {
namespace {

TEST(ImageGrid, APictureThatGivesNoThumbnailIsAskedForOnce) {
  std::vector<TImageItem> library(2);
  library[0].Name = "broken.jpg";
  library[1].Name = "fine.png";
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(parent);
  std::vector<size_t> asked, pending;
  ImageGrid::Events events;
  events.onThumbnailWanted = [&](size_t row, Size) {
    asked.push_back(row);
    pending.push_back(row);
  };
  ImageGrid grid;
  ASSERT_TRUE(grid.Create(parent, library, std::move(events)));
  MoveWindow(grid.Handle(), 0, 0, 400, 300, FALSE);
  ShowWindow(grid.Handle(), SW_SHOWNA);
  auto times = [&asked](size_t row) { return std::count(asked.begin(), asked.end(), row); };

  // The worker's answers as the main window hands them on: the second picture gets its
  // thumbnail, the first none. Each answer repaints its row.
  for (int round = 0; round < 20; ++round) {
    UpdateWindow(grid.Handle());
    for (size_t row : std::exchange(pending, {})) {
      if (row == 1) library[1].Thumbnail = std::make_shared<const TBitmap32>(62, 45);
      grid.ThumbnailArrived(row);
    }
  }
  EXPECT_EQ(times(0), 1);
  EXPECT_EQ(times(1), 1);

  // A rebuilt library tries the picture again, once.
  grid.Reset();
  for (int round = 0; round < 5; ++round) {
    UpdateWindow(grid.Handle());
    for (size_t row : std::exchange(pending, {})) grid.ThumbnailArrived(row);
  }
  EXPECT_EQ(times(0), 2);
  EXPECT_EQ(times(1), 1);
  DestroyWindow(parent);
}

}  // namespace
}  // namespace ov
