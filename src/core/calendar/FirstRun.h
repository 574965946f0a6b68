#pragma once
// What the calendar data needs at the very first start and when data of the oldest
// layout is taken over.
#include <array>
#include <filesystem>

namespace ov {

class EntryStore;
class IShellFileOps;

// Sections created at the first run ("diary", "business", "family").
inline constexpr std::array<const char*, 3> kFirstRunSections = {"日记", "生意", "家庭"};
// Today's entry of the active section at the first run, when it is empty.
inline constexpr char kWelcomeEntryText[] = "在桌面上任何可见的日期上三击鼠标可以编辑项目";
// The section the oldest layout's notes become.
inline constexpr char kLegacySectionName[] = "Default";

// Creates the three section folders (existing ones are kept) and writes the welcome text
// as today's entry unless that entry already has text. Failures are silent.
void RunFirstRunSetup(EntryStore& store, double today);

// The oldest layout kept its notes in "Notes" beside the program. When that folder
// exists, copies it into the section "Default" of the entries folder, as that section's
// "Notes" folder so its notes read like any section's (shell copy, no dialogs) and converts its holiday marks into colour codes. Returns whether there was
// such a folder.
bool MigrateLegacyNotes(IShellFileOps& shell, EntryStore& store, const std::filesystem::path& programFolder);

}  // namespace ov
