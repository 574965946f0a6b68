#pragma once
// Starting with Windows and the optional visual-styles manifest: the shortcut's arguments
// and the manifest's text, decided without the shell.
#include <string>

namespace ov {

// The autostart shortcut's file name in the Startup folder.
inline constexpr char kAutostartShortcutName[] = "Orvinta.lnk";

// The shortcut's arguments: "/quit" when the program is to end after updating the
// wallpaper, then " /delay D" for a delay D > 0 (so "/quit /delay 5", " /delay 5",
// "/quit" or nothing). A delay outside 0..30 seconds is held to that range.
std::string AutostartArguments(bool quitAfterUpdate, int delaySeconds);

// The 21 lines of the visual-styles manifest, each ended by CR LF, indented by tabs.
const std::string& VisualStylesManifest();

// The two boxes of the visual-styles switch.
inline constexpr char kManifestWriteFailed[] =
    "在程序文件夹中 创建/删除 .manifest 文件时发生问题\r\n请确认您有该目录的写入权限并重试。";
inline constexpr char kManifestRestartNeeded[] = "您必须重启日历程序使更改生效。";

}  // namespace ov
