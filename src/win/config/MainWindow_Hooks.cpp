#include "win/config/MainWindow_Hooks.h"

#include "core/library/RotationTime.h"
#include "core/util/Paths.h"
#include "win/app/App.h"

namespace ov::hooks {

void RotateImagesClick(App&) {
  // Wallpaper rotation starts or stops here once rotation exists.
}

void SpinRotChange(App& app) {
  app.settings.NextRotationTime =
      NextRotation(app.Clock.Now(), app.settings.RotationInterval, app.settings.RotationMode);
  ShowNextRotation(app);
}

void ShowNextRotation(App&) {
  // The desktop tab's next-rotation label is written here once rotation exists.
}

void CatchWallpapersClick(App&) {
  // Wallpaper capture is switched here once capture exists.
}

void CheckAutoStartClick(App&) {
  // The tray part synchronises the autostart shortcut here.
}

void CheckMiniControllerClick(App&) {
  // The mini controller is shown or hidden here once it exists.
}

void Quit1Click(App& app, HWND form) {
  // The tray part attaches its own quit here; ending the program is already complete.
  app.Quitting = true;
  PostMessageW(form, WM_CLOSE, 0, 0);
}

void SearchNewWallpapers(App&) {
  // The picture library's web search for wallpapers attaches here.
}

void SelectBackgroundRow(App& app) {
  // The library grid selects the background's row here and loads it through SelectImage;
  // until the grid exists the background itself is loaded into the preview.
  if (!app.Props) return;
  TBitmap32& shown = app.Props->ShownPicture();
  app.Props->LoadImageWithProperties(shown, PathFromUtf8(app.settings.WallpaperBackground), ImageSlot::Current);
}

void PrintPreview(App&) {
  // The printer tab renders its page preview here.
}

void EntrySectionButton(App&, int) {
  // The entry sections part creates, renames or deletes a section here.
}

}  // namespace ov::hooks
