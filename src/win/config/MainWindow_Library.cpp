// The picture library on the image tab: the thumbnail grid with its menu, choosing a
// picture for the preview, rebuilding the library, and the folder watcher that rebuilds
// it when pictures are added, removed or renamed under the library folder.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <unordered_map>

#include "core/library/LibraryView.h"
#include "core/util/Paths.h"
#include "core/wallpaper/WallpaperSize.h"
#include "core/wallpaper/MonitorLayout.h"
#include "win/app/App.h"
#include "win/app/MainForm.h"
#include "win/config/ImageGrid.h"
#include "win/config/MainWindow.h"
#include "win/library/FolderWatcher.h"
#include "win/library/ThumbnailWorker.h"
#include "win/platform/Utf16.h"
#include "win/ui/Dpi.h"
#include "win/ui/MessageBoxes.h"
#include "win/wallpaper/DesktopWallpaper.h"
#include "win/ui/MenuTracking.h"

namespace ov {

namespace {

constexpr UINT kMsgThumbnailsReady = WM_APP + 40;
constexpr UINT kMsgLibraryFolderChanged = WM_APP + 41;
// The library is rebuilt once the folder has been quiet this long, so that copying a
// batch of pictures in costs one rescan.
constexpr UINT_PTR kTimerLibraryQuiet = 41;
constexpr UINT kLibraryQuietMs = 1000;
// Where the grid starts on the image tab, right of the adjustments (96-dpi units).
constexpr int kGridLeft = 394, kGridTop = 6, kGridMargin = 4;

constexpr wchar_t kImageSearchAddress[] = L"https://www.google.com/images?";

enum GridMenuId : UINT {
  kImages1281 = 1000,
  kSetAsDesktopWallpaper1,
  kOpenInDefaultViewer1,
  kRefreshImagelist1,
  kSelectImagesBaseFolder1,
  kExploreImageFolder2,
  kSetAsBottomImage1,
  kClearBottomImage1,
  kDeleteFromDisk2,
  kThumbSize0 = 1100,  // + ThumbWidthIndex
};

// Moves the grid along with the page it sits on.
LRESULT CALLBACK ImagePageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  if (msg == WM_SIZE) {
    HWND grid = reinterpret_cast<HWND>(data);
    const int left = ScaleForWindow(hwnd, kGridLeft), top = ScaleForWindow(hwnd, kGridTop);
    const int margin = ScaleForWindow(hwnd, kGridMargin);
    MoveWindow(grid, left, top, std::max(0, LOWORD(lp) - left - margin), std::max(0, HIWORD(lp) - top - margin), TRUE);
  }
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &ImagePageProc, 2);
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

void MainWindow::CreateImageGrid(HWND page) {
  imageGrid_ = std::make_unique<ImageGrid>();
  ImageGrid::Events events;
  events.onClick = [this] { ImageGridClick(); };
  events.onDoubleClick = [this] { ImageGridDblClick(); };
  events.onContextMenu = [this](POINT pt) { PopupGrid(pt); };
  events.onThumbnailWanted = [this](size_t row, Size cell) {
    if (row >= app_.ImageLibrary.size()) return;
    thumbs_->Request({libraryGeneration_, row, PathFromUtf8(app_.ImageLibrary[row].FileName), cell,
                      app_.WallpaperSize});
  };
  imageGrid_->Create(page, app_.ImageLibrary, std::move(events));
  SendMessageW(imageGrid_->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  SetHint(imageGrid_->Handle(), "右击查看更多选项...");
  SetWindowSubclass(page, &ImagePageProc, 2, reinterpret_cast<DWORD_PTR>(imageGrid_->Handle()));
  thumbs_ = std::make_unique<ThumbnailWorker>();
  thumbs_->Start(hwnd_, kMsgThumbnailsReady);
  watcher_ = std::make_unique<FolderWatcher>();
  // Hidden until the deferred start has built the library.
}

void MainWindow::StopLibraryWork() {
  if (watcher_) watcher_->Stop();
  if (thumbs_) thumbs_->Stop();
  if (hwnd_) KillTimer(hwnd_, kTimerLibraryQuiet);
}

bool MainWindow::HandleLibraryMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  if (msg == kMsgThumbnailsReady) {
    for (ThumbnailDone& done : thumbs_->TakeFinished()) {
      // A thumbnail of an earlier build is dropped: its row may now be another picture.
      if (done.generation != libraryGeneration_ || done.row >= app_.ImageLibrary.size()) continue;
      TImageItem& item = app_.ImageLibrary[done.row];
      item.Thumbnail = std::move(done.thumbnail);
      item.ImageWidth = item.Thumbnail ? done.image.width : 0;
      item.ImageHeight = item.Thumbnail ? done.image.height : 0;
      imageGrid_->ThumbnailArrived(done.row);
    }
    result = 0;
    return true;
  }
  if (msg == kMsgLibraryFolderChanged) {
    SetTimer(hwnd_, kTimerLibraryQuiet, kLibraryQuietMs, nullptr);
    result = 0;
    return true;
  }
  if (msg == WM_TIMER && wp == kTimerLibraryQuiet) {
    KillTimer(hwnd_, kTimerLibraryQuiet);
    form_.LibraryFolderChanged();
    result = 0;
    return true;
  }
  return false;
}

void MainWindow::WatchLibraryFolder() {
  const std::filesystem::path folder = PathFromUtf8(app_.settings.ImagesPath);
  if (watcher_->Folder() == folder && !folder.empty()) return;
  // A folder that cannot be watched (missing, say) is simply not watched; the menu's
  // refresh still rescans it.
  if (!watcher_->Watch(folder, hwnd_, kMsgLibraryFolderChanged)) watcher_->Stop();
}

void MainWindow::RebuildLibrary(bool clearQueue, bool folderChanged) {
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  try {
    ++libraryGeneration_;
    if (thumbs_) thumbs_->CancelAll();
    // A rescan after a change in the folder keeps the thumbnails of the pictures that
    // are still there, unchanged in size, so one new picture costs one new thumbnail.
    std::unordered_map<std::string, TImageItem> kept;
    const int oldTop = imageGrid_->TopRow();
    if (folderChanged)
      for (TImageItem& item : app_.ImageLibrary)
        if (item.Thumbnail) kept.emplace(item.FileName, std::move(item));
    app_.ImageLibrary.clear();
    if (clearQueue) app_.RotationQueue.clear();
    const int index = app_.settings.ThumbWidthIndex;
    // The grid's columns and rows are 96-dpi sizes like the rest of the layout.
    imageGrid_->SetGeometry(Dpi(ThumbColumnWidth(index)), Dpi(ThumbRowHeight(index)), Dpi(kTextColumnWidth));
    ScanImageFolder(PathFromUtf8(app_.settings.ImagesPath), app_.ImageLibrary);
    for (TImageItem& item : app_.ImageLibrary) {
      auto old = kept.find(item.FileName);
      if (old == kept.end() || old->second.FileSize != item.FileSize) continue;
      item.Thumbnail = std::move(old->second.Thumbnail);
      item.ImageWidth = old->second.ImageWidth;
      item.ImageHeight = old->second.ImageHeight;
    }
    imageGrid_->Reset();
    ShowWindow(imageGrid_->Handle(), SW_SHOWNA);
    WatchLibraryFolder();
    // Without pictures the wallpaper uses the plain background colour. Not when the
    // folder only went away for a moment (a renamed folder, a stick pulled out, a network
    // drive gone): nothing would tick the box off again when the pictures come back.
    if (app_.ImageLibrary.empty() && !app_.settings.NoBackground && !folderChanged) SetNoBackgroundTick(true);
    // ... and the picture the user is looking at.
    size_t row = 0;
    if (folderChanged && FindLibraryRow(app_.SelectedImage, row)) {
      imageGrid_->SetTopRow(oldTop);
      imageGrid_->SetCurrentRow(row, false);
    } else {
      SelectBackgroundRow();
    }
  } catch (...) {
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    throw;
  }
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

void MainWindow::UntickNoBackground() { SetNoBackgroundTick(false); }

void MainWindow::SetNoBackgroundTick(bool ticked) {
  app_.settings.NoBackground = ticked;
  SetChecked("CheckNoBackground", ticked);
  CheckNoBackgroundClick();
}

bool MainWindow::FindLibraryRow(const std::string& file, size_t& row) const {
  for (size_t i = 0; i < app_.ImageLibrary.size(); ++i) {
    if (app_.ImageLibrary[i].FileName == file) {
      row = i;
      return true;
    }
  }
  return false;
}

void MainWindow::SelectBackgroundRow() {
  std::optional<size_t> row = BackgroundRow(app_.ImageLibrary, app_.settings.WallpaperBackground);
  if (!row) return;
  imageGrid_->SetCurrentRow(*row, true);
  ImageGridClick();
}

void MainWindow::ImageGridClick() {
  if (app_.ImageLibrary.empty()) return;
  SelectImage(imageGrid_->CurrentRow());
}

void MainWindow::ImageGridDblClick() {
  if (app_.ImageLibrary.empty() || app_.SelectedImage.empty()) return;
  ShellExecuteW(hwnd_, L"open", Widen(app_.SelectedImage).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void MainWindow::SelectImage(size_t row) {
  if (row >= app_.ImageLibrary.size() || !app_.Props) return;
  const std::string file = app_.ImageLibrary[row].FileName;
  // While the window is hidden the grid's row is all that is remembered; showing the
  // window selects the background row again, which loads it.
  if (!imagePreviewVisible_ || preview_.Empty()) return;
  // "正在读取..." stands in the preview while the file loads.
  preview_.Clear(0xFF000000u);
  app_.Text.DrawAt(preview_, 10, 10, app_.settings.CaptionFont, 0x808080, "正在读取...");
  if (app_.settings.PreviewTaskBar) MarkTaskbar(preview_, TaskbarRects(app_.Monitors), app_.WallpaperSize);
  InvalidateRect(previewPanel_, &imagePreview_, FALSE);
  UpdateWindow(previewPanel_);

  TBitmap32& shown = app_.Props->ShownPicture();
  const bool ok = app_.Props->LoadImageWithProperties(shown, PathFromUtf8(file), ImageSlot::Current).ok;
  if (!ok) {
    // The message stands in for the picture, fitted to the preview.
    shown.SetSize(280, 60);
    shown.Clear(0xFF000000u);
    app_.Text.DrawAt(shown, 10, 10, app_.settings.CaptionFont, app_.settings.CaptionFont.color, "无法读取图像");
    ResetImageProperties(false);
    app_.Props->Props(ImageSlot::Current).Fit = true;
  }
  ShowImageProperties();
  UpdatePreviewFast();
  app_.SelectedImage = file;
}

void MainWindow::PopupGrid(POINT pt) {
  const std::wstring header = Widen(LibraryCountCaption(app_.ImageLibrary.size()));
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_OWNERDRAW | MF_DISABLED, kImages1281, reinterpret_cast<LPCWSTR>(header.c_str()));
  AppendMenuW(menu, MF_STRING, kSetAsDesktopWallpaper1, L"设置为桌面背景");
  AppendMenuW(menu, MF_STRING, kOpenInDefaultViewer1, L"用默认查看器打开...");
  HMENU sizes = CreatePopupMenu();
  for (int i = 0; i < 5; ++i) AppendMenuW(sizes, MF_STRING, kThumbSize0 + i, Widen(kThumbSizeCaptions[i]).c_str());
  const int current = app_.settings.ThumbWidthIndex;
  if (current >= 0 && current <= 4)
    CheckMenuRadioItem(sizes, kThumbSize0, kThumbSize0 + 4, kThumbSize0 + current, MF_BYCOMMAND);
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sizes), L"缩略图大小");
  AppendMenuW(menu, MF_STRING, kRefreshImagelist1, L"刷新图像列表(&R)");
  AppendMenuW(menu, MF_STRING, kSelectImagesBaseFolder1, L"选择图像文件夹(&S)...");
  AppendMenuW(menu, MF_STRING, kExploreImageFolder2, L"展开图像文件夹(&E)...");
  AppendMenuW(menu, MF_STRING, kSetAsBottomImage1, L"设置为底层图像");
  AppendMenuW(menu, MF_STRING | (app_.settings.BottomImageFilename.empty() ? MF_GRAYED : 0u), kClearBottomImage1,
              L"禁用底层图像");
  AppendMenuW(menu, MF_STRING, kDeleteFromDisk2, L"从磁盘删除");
  const UINT cmd = static_cast<UINT>(
      TrackMenuInWorkArea(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, pt.x, pt.y, imageGrid_->Handle()));
  DestroyMenu(menu);
  switch (cmd) {
    case kSetAsDesktopWallpaper1: SetAsDesktopWallpaper1Click(); break;
    case kOpenInDefaultViewer1: ImageGridDblClick(); break;
    case kRefreshImagelist1: form_.RefreshImageList(); break;
    case kSelectImagesBaseFolder1: form_.SelectWallpaperFolder(); break;
    case kExploreImageFolder2: form_.OpenImagesFolder(); break;
    case kSetAsBottomImage1: SetAsBottomImage(); break;
    case kClearBottomImage1: ClearBottomImage(); break;
    case kDeleteFromDisk2: DeleteFromDisk(); break;
    default:
      if (cmd >= kThumbSize0 && cmd <= kThumbSize0 + 4) {
        app_.settings.ThumbWidthIndex = static_cast<int32_t>(cmd - kThumbSize0);
        RebuildLibrary(false);
      }
      break;
  }
}

void MainWindow::SetAsBottomImage() {
  // The picture chosen in the library; before any choice, the one the preview shows.
  const std::string file = app_.SelectedImage.empty() ? app_.settings.WallpaperBackground : app_.SelectedImage;
  if (file.empty() || !app_.Props) return;
  app_.settings.BottomImageFilename = file;
  app_.Props->SetBottomImage(file);
  UpdatePreview();
}

void MainWindow::ClearBottomImage() {
  if (!app_.Props) return;
  app_.settings.BottomImageFilename.clear();
  app_.Props->ClearBottomImage();
  UpdatePreview();
}

void MainWindow::DeleteFromDisk() {
  // The picture the question names: a library rebuild or a captured wallpaper while the
  // question is open may choose another one.
  const std::string file = app_.SelectedImage;
  if (file.empty()) return;
  if (!ConfirmBox(hwnd_, DeleteImagePrompt(file))) return;
  // Into the recycle bin, without a second question; the shell reports its own errors.
  std::wstring from = Widen(file);
  from.push_back(L'\0');  // the list ends with an empty name
  SHFILEOPSTRUCTW op{};
  op.hwnd = hwnd_;
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT;
  SHFileOperationW(&op);
  RebuildLibrary(false);
}

void MainWindow::SearchNewWallpapers(IRandom& random) {
  std::wstring address = std::wstring(kImageSearchAddress) + Widen(WallpaperSearchQuery(random));
  ShellExecuteW(hwnd_, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace ov
