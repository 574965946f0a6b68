#pragma once
// The autostart shortcut in the user's Startup folder and the visual-styles manifest
// beside the program file.
#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

namespace ov {

struct App;

// The Startup folder as the shell's "Shell Folders" key names it (the special folder
// when the value is missing).
std::filesystem::path StartupFolder();

struct ShortcutInfo {
  std::filesystem::path target, workingFolder;
  std::string arguments;
};
// Creates or replaces a shell link; missing folders on its path are created.
bool WriteShortcut(const std::filesystem::path& link, const ShortcutInfo& info);
std::optional<ShortcutInfo> ReadShortcut(const std::filesystem::path& link);

// Brings the shortcut in line with AutoStart, AutoStartQuit and AutoStartDelay: deleted
// when autostart is off, written when it is on (but never while the program starts up).
// Failures are not reported.
void SyncAutostart(App& app);

// Writes (on) or deletes (off) the manifest beside the program file; false on failure,
// including deleting a manifest that is not there.
bool SetVisualStylesManifest(bool on);

}  // namespace ov
