// The wallpaper changer and the capture of wallpapers other programs install: the main
// window's side of the rotation queue and the capture check.
#include <windows.h>
#include <oleauto.h>

#include <chrono>
#include <cmath>

#include "core/library/Capture.h"
#include "core/library/RotationQueue.h"
#include "core/library/RotationTime.h"
#include "core/util/Paths.h"
#include "win/app/App.h"
#include "win/app/MainForm.h"
#include "win/config/MainWindow.h"
#include "win/platform/GdiplusEncoder.h"
#include "win/platform/Utf16.h"
#include "win/wallpaper/DesktopWallpaper.h"

namespace ov {

namespace {

// The shuffle's random source for the whole run, seeded once per process.
IRandom& ShuffleRandom() {
  static StdRandom random(static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                          (static_cast<uint64_t>(GetCurrentProcessId()) << 32) ^ GetTickCount64());
  return random;
}

// A date-time (days since 30 December 1899) as local SYSTEMTIME, to the second.
SYSTEMTIME ToSystemTime(double when) {
  SYSTEMTIME st{};
  double seconds = std::round((when - std::floor(when)) * 86400.0);
  double day = std::floor(when);
  if (seconds >= 86400) {
    seconds -= 86400;
    day += 1;
  }
  if (!VariantTimeToSystemTime(day, &st)) GetLocalTime(&st);
  int s = static_cast<int>(seconds);
  st.wHour = static_cast<WORD>(s / 3600);
  st.wMinute = static_cast<WORD>(s / 60 % 60);
  st.wSecond = static_cast<WORD>(s % 60);
  st.wMilliseconds = 0;
  return st;
}

std::string LocaleText(bool date, const SYSTEMTIME& st) {
  wchar_t buffer[128] = L"";
  int n = date ? GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, 128)
               : GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, 128);
  return n > 0 ? Narrow(buffer) : std::string();
}

class FormRotationHost final : public RotationHost {
 public:
  FormRotationHost(App& app, MainForm& form) : app_(app), form_(form) {}
  std::filesystem::path SaveShownImageProps() override {
    return app_.Props ? app_.Props->WriteImageProps(app_.Props->ShownPicture()) : std::filesystem::path();
  }
  void BuildWallpaper(const std::string& file) override { form_.BuildWallpaper(file, true); }
  void RestoreShownImageProps(const std::filesystem::path& file) override {
    if (app_.Props && !file.empty()) app_.Props->ReadImagePropsFile(file, ImageSlot::Current);
  }
  void UpdatePreview() override {
    // The build loaded the rotated picture's properties on the way; the preview shows the
    // image tab's own again.
    if (MainWindow* ui = form_.Ui()) ui->UpdatePreview();
  }

 private:
  App& app_;
  MainForm& form_;
};

class FormCaptureHost final : public CaptureHost {
 public:
  FormCaptureHost(App& app, MainForm& form) : app_(app), form_(form) {}
  std::string ReadDesktopWallpaper() override { return ov::ReadDesktopWallpaper(); }
  void UseCapturedImage(const std::string& target) override {
    app_.SelectedImage = target;
    app_.settings.WallpaperBackground = target;
    form_.RebuildLibrary(false);
    // The calendar goes back over the captured picture, so the next check finds the
    // program's own wallpaper installed.
    form_.UpdateWallpaper();
  }

 private:
  App& app_;
  MainForm& form_;
};

}  // namespace

void MainForm::SetRotationControls(const RotationControls& controls) {
  rotationControls_ = controls;
  RotateImagesChanged(app_.settings.RotateImages);
  ShowNextRotation();
}

std::string MainForm::PickNextImage() {
  std::string picked = ov::PickNextImage(app_.RotationQueue, app_.ImageLibrary, ShuffleRandom());
  SaveRotationQueue();
  return picked;
}

void MainForm::SaveRotationQueue() {
  // A queue that cannot be written only loses the order after a restart.
  WriteRotationFile(app_.Folders.RotationFile(), app_.RotationQueue, app_.CodePage);
}

void MainForm::Rotate() {
  FormRotationHost host(app_, *this);
  ov::Rotate(app_.RotationQueue, app_.ImageLibrary, ShuffleRandom(), app_.Folders.RotationFile(), app_.CodePage,
             host);
}

std::string MainForm::ShowNextRotation() {
  SYSTEMTIME st = ToSystemTime(app_.settings.NextRotationTime);
  std::string text = NextRotationLabel(LocaleText(true, st), LocaleText(false, st));
  if (rotationControls_.labelNextRotation)
    SetWindowTextW(rotationControls_.labelNextRotation, Widen(text).c_str());
  return text;
}

void MainForm::RotateImagesChanged(bool ticked) {
  app_.settings.RotateImages = ticked;
  const RotationControls& c = rotationControls_;
  for (HWND control : {c.rotLabel, c.spinRot, c.rotCombo, c.labelNextRotation})
    if (control) EnableWindow(control, ticked);
  if (c.pageControl) InvalidateRect(c.pageControl, nullptr, TRUE);
}

void MainForm::RotationIntervalChanged(int interval) {
  if (!app_.ControlsReady) return;
  RotationIntervalEdited(app_.settings, interval, app_.Clock.Now());
  ShowNextRotation();
}

void MainForm::RotationModeChanged(int mode) {
  // Only stored: the next edit of the number or change of picture counts with it.
  if (app_.ControlsReady) app_.settings.RotationMode = mode;
}

void MainForm::CatchWallpapersChanged(bool ticked) { app_.settings.CaptureWallpaper = ticked; }

void MainForm::CaptureCheck() {
  GdiplusEncoder encoder;
  FormCaptureHost host(app_, *this);
  CaptureInput in{PathToUtf8(app_.Folders.WallpaperFile()), app_.settings.ImagesPath, app_.settings.CaptureToPNG,
                  app_.Clock.Now()};
  capture_.Check(in, host, encoder);
}

void MainForm::SetAsDesktopWallpaper(const std::string& file) {
  if (file.empty()) return;
  app_.settings.WallpaperBackground = file;
  UpdateWallpaper();
  ShowMainWindow();
}

void MainForm::LibraryFolderChanged() {
  // The rotation skips pictures that are gone, so the queue can stay.
  if (ui_) ui_->RebuildLibrary(false, true);
}

void MainForm::RebuildLibrary(bool clearQueue) {
  if (ui_) ui_->RebuildLibrary(clearQueue);
}

}  // namespace ov
