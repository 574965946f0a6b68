#pragma once
// Where the capabilities of other parts of the program attach to the configuration
// window. Each is a small named operation; those whose part is still to come do nothing.
#include <windows.h>

#include <optional>

#include "core/util/Rect.h"

namespace ov {

struct App;

namespace hooks {

void RotateImagesClick(App& app);          // wallpaper rotation switched on or off
void SpinRotChange(App& app);              // rotation interval changed: next time and its label
void ShowNextRotation(App& app);           // the next-rotation label
void CatchWallpapersClick(App& app);       // wallpaper capture switched on or off
void CheckAutoStartClick(App& app);        // autostart shortcut synchronised
void CheckMiniControllerClick(App& app);   // the mini controller shown or hidden
void Quit1Click(App& app, HWND form);      // really end the program
void SearchNewWallpapers(App& app);        // web search for new wallpapers
void SelectBackgroundRow(App& app);        // grid row of WallpaperBackground, loaded into the preview
void PrintPreview(App& app);               // the printer tab's preview
// The printer's page in device pixels, turned as CheckPrintLandscape says, for the printer
// tab's preview layout; nullopt while no printer answers.
std::optional<Size> PrinterPageSize(App& app);

}  // namespace hooks
}  // namespace ov
