// The library's worker threads under the real platform: thumbnails made at reduced size
// from picture files, made in the order asked for, and the folder watcher noticing
// pictures dropped deep inside the library folder.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <chrono>

#include "core/library/ImageLibrary.h"
#include "core/util/Paths.h"
#include "core/library/LibraryView.h"
#include "support/ExifJpeg.h"
#include "support/PngFile.h"
#include "support/TempDir.h"
#include "win/library/FolderWatcher.h"
#include "win/library/ThumbnailMaker.h"
#include "win/library/ThumbnailWorker.h"
#include "win/platform/GdiplusDecoder.h"
#include "win/platform/GdiplusEncoder.h"

namespace ov {
namespace {

constexpr UINT kMsgDone = WM_APP + 7;

class LibraryWorkers : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    DestroyWindow(window_);
    CoUninitialize();
  }
  // A single-colour picture file (or with its right half in `right`); JPEG through a
  // PNG first.
  std::filesystem::path Picture(const std::string& name, int w, int h, Pixel colour, Pixel right = 0) {
    TBitmap32 p(w, h);
    p.Clear(colour);
    if (right) p.FillRectOpaque({w / 2, 0, w, h}, right);
    std::filesystem::path file = dir_.Path() / name;
    std::filesystem::create_directories(file.parent_path());
    if (file.extension() == ".jpg") {
      std::filesystem::path png = dir_.Path() / "source.png";
      EXPECT_TRUE(test::WritePng(p, png));
      EXPECT_TRUE(GdiplusEncoder().SaveAsJpeg(png, file, 95));
      std::filesystem::remove(png);
    } else {
      EXPECT_TRUE(test::WritePng(p, file));
    }
    return file;
  }
  // Waits up to `ms` for the workers' message to the window.
  bool WaitForMessage(UINT message, int ms) {
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    MSG m;
    while (std::chrono::steady_clock::now() < until) {
      if (PeekMessageW(&m, window_, message, message, PM_REMOVE)) return true;
      Sleep(10);
    }
    return false;
  }

  GdiplusSession gdiplus_;
  test::TempDir dir_;
  HWND window_ = nullptr;
};

bool Near(Pixel a, Pixel b) {
  for (int shift : {0, 8, 16}) {
    int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (d < -12 || d > 12) return false;
  }
  return true;
}

TEST_F(LibraryWorkers, ThumbnailShowsThePictureWhereItFitsOnGrey) {
  const Size cell{195, 145}, screen{1280, 1024};
  struct Case {
    const char* name;
    int w, h;
  } cases[] = {{"wide.png", 1600, 400}, {"tall.jpg", 300, 900}, {"big.jpg", 4000, 3200}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Thumbnail t = MakeThumbnail(Picture(c.name, c.w, c.h, 0xFF3060C0u), cell, screen);
    ASSERT_EQ(cell.width, t.pixels.Width());
    ASSERT_EQ(cell.height, t.pixels.Height());
    EXPECT_EQ(c.w, t.image.width);
    EXPECT_EQ(c.h, t.image.height);
    Rect place = ThumbnailPlacement(cell, screen, {c.w, c.h});
    EXPECT_TRUE(Near(0xFF3060C0u, t.pixels.At((place.left + place.right) / 2, (place.top + place.bottom) / 2)));
    // Outside the placed picture the cell stays grey.
    if (place.left > 1) {
      EXPECT_EQ(0xFF808080u, t.pixels.At(0, cell.height / 2));
    }
    if (place.top > 1) {
      EXPECT_EQ(0xFF808080u, t.pixels.At(cell.width / 2, 0));
    }
  }
}

TEST_F(LibraryWorkers, PhotoThumbnailIsUprightByItsExifOrientation) {
  // Turned a quarter clockwise: the red left half of the stored picture comes out on top.
  std::filesystem::path stored = Picture("stored.jpg", 800, 400, 0xFFE02020u, 0xFF2020E0u);
  std::filesystem::path turned = dir_.Path() / "turned.jpg";
  test::WriteFile(turned, test::WithExifOrientation(test::ReadFile(stored), 6));
  const Size cell{195, 145}, screen{1280, 1024};
  Thumbnail t = MakeThumbnail(turned, cell, screen);
  ASSERT_FALSE(t.pixels.Empty());
  EXPECT_EQ(400, t.image.width);
  EXPECT_EQ(800, t.image.height);
  Rect place = ThumbnailPlacement(cell, screen, {400, 800});
  const int32_t x = (place.left + place.right) / 2;
  EXPECT_TRUE(Near(0xFFE02020u, t.pixels.At(x, place.top + 5))) << std::hex << t.pixels.At(x, place.top + 5);
  EXPECT_TRUE(Near(0xFF2020E0u, t.pixels.At(x, place.bottom - 5))) << std::hex << t.pixels.At(x, place.bottom - 5);
}

TEST_F(LibraryWorkers, UnreadablePictureGivesNoThumbnail) {
  std::filesystem::path bad = dir_.Path() / "bad.jpg";
  test::WriteFile(bad, "not a picture at all");
  Thumbnail t = MakeThumbnail(bad, {62, 45}, {1280, 1024});
  EXPECT_TRUE(t.pixels.Empty());
  EXPECT_EQ(0, t.image.width);
  EXPECT_TRUE(MakeThumbnail(dir_.Path() / "missing.png", {62, 45}, {1280, 1024}).pixels.Empty());
}

TEST_F(LibraryWorkers, WorkerFinishesJobsInTheOrderAsked) {
  std::filesystem::path a = Picture("a.png", 64, 48, 0xFFFF0000u), b = Picture("b.png", 64, 48, 0xFF00FF00u);
  ThumbnailWorker worker;
  worker.Start(window_, kMsgDone);
  worker.Request({7, 3, b, {62, 45}, {1280, 1024}});
  worker.Request({7, 1, dir_.Path() / "gone.png", {62, 45}, {1280, 1024}});
  worker.Request({7, 0, a, {62, 45}, {1280, 1024}});
  std::vector<ThumbnailDone> done;
  while (done.size() < 3 && WaitForMessage(kMsgDone, 5000))
    for (ThumbnailDone& d : worker.TakeFinished()) done.push_back(std::move(d));
  ASSERT_EQ(3u, done.size());
  EXPECT_EQ(3u, done[0].row);
  EXPECT_EQ(1u, done[1].row);
  EXPECT_EQ(0u, done[2].row);
  EXPECT_EQ(7u, done[0].generation);
  ASSERT_TRUE(done[0].thumbnail);
  EXPECT_FALSE(done[1].thumbnail);
  EXPECT_EQ(64, done[2].image.width);
  // Stopping with jobs still waiting drops them and joins at once.
  for (size_t i = 0; i < 50; ++i) worker.Request({8, i, a, {62, 45}, {1280, 1024}});
  worker.Stop();
  EXPECT_TRUE(worker.TakeFinished().empty());
}

TEST_F(LibraryWorkers, WatcherNoticesPicturesAddedRenamedAndRemovedBelowTheFolder) {
  std::filesystem::path deep = dir_.Path() / "lib" / "sub" / "deeper";
  std::filesystem::create_directories(deep);
  FolderWatcher watcher;
  ASSERT_TRUE(watcher.Watch(dir_.Path() / "lib", window_, kMsgDone));
  test::WriteFile(dir_.Path() / "lib" / "notes.txt", "not a picture");
  EXPECT_FALSE(WaitForMessage(kMsgDone, 1000)) << "a file that is no picture";
  std::filesystem::path added = Picture("lib/sub/deeper/new.png", 8, 8, 0xFF0000FFu);
  EXPECT_TRUE(WaitForMessage(kMsgDone, 7000)) << "file added";
  Sleep(200);
  while (WaitForMessage(kMsgDone, 100)) {
  }
  std::filesystem::rename(added, deep / "renamed.png");
  EXPECT_TRUE(WaitForMessage(kMsgDone, 7000)) << "file renamed";
  Sleep(200);
  while (WaitForMessage(kMsgDone, 100)) {
  }
  std::filesystem::remove(deep / "renamed.png");
  EXPECT_TRUE(WaitForMessage(kMsgDone, 7000)) << "file removed";
  watcher.Stop();
  EXPECT_FALSE(watcher.Watch(dir_.Path() / "no such folder", window_, kMsgDone));
}

// A name with a lone surrogate (legal on NTFS) has no UTF-8 form; the plain conversion
// throws on it, which ended the program from the watcher's thread. (Wine cannot store such
// a name, so the library's scan is checked through the conversion it uses.)
TEST_F(LibraryWorkers, ANameWithoutUtf8FormIsRecognisedWithoutThrowing) {
  const std::filesystem::path odd(std::wstring(L"C:\\Pics\\bad") + wchar_t(0xD800) + L"name.png");
  EXPECT_ANY_THROW(PathToUtf8(odd));
  EXPECT_FALSE(PathToUtf8IfValid(odd));
  const std::filesystem::path pair(std::wstring(L"C:\\Pics\\") + wchar_t(0xD83D) + wchar_t(0xDE00) + L".png");
  EXPECT_EQ("C:\\Pics\\\xF0\x9F\x98\x80.png", PathToUtf8IfValid(pair).value_or("none"));
  EXPECT_FALSE(PathToUtf8IfValid(std::filesystem::path(std::wstring(1, wchar_t(0xDC00)))));
}

}  // namespace
}  // namespace ov
