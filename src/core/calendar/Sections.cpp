#include "core/calendar/Sections.h"

#include <system_error>

#include "core/platform/ShellFileOps.h"
#include "core/util/Paths.h"
#include "core/util/Text.h"

namespace ov {

namespace fs = std::filesystem;

namespace {

bool HasForbiddenChar(std::string_view name) {
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 32) return true;
    for (const char* f = kForbiddenSectionChars; *f; ++f)
      if (c == *f) return true;
  }
  return false;
}

// Names the entries folder itself or its parent once Windows has dropped trailing dots
// and spaces.
bool OnlyDotsAndSpaces(std::string_view name) {
  for (char c : name)
    if (c != '.' && c != ' ') return false;
  return true;
}

}  // namespace

std::string SectionExistsMessage(std::string_view name) {
  return ReplaceAll(kSectionExistsMessage, "%s", name);
}

std::string SectionDeleteConfirmMessage(std::string_view name) {
  return ReplaceAll(kSectionDeleteConfirmMessage, "%s", name);
}

bool IsUsableSectionName(std::string_view name) {
  return !name.empty() && !OnlyDotsAndSpaces(name) && !HasForbiddenChar(name);
}

std::vector<std::string> ListSections(const IShellFileOps& shell, const fs::path& entriesFolder) {
  std::vector<std::string> out;
  for (const FolderEntry& e : shell.ListSubfolders(entriesFolder)) {
    if (e.name == "." || e.name == "..") continue;
    if (e.attributes != kFileAttributeDirectory) continue;
    out.push_back(e.name);
  }
  return out;
}

std::string SectionMenuCaption(std::string_view name) { return ReplaceAll(name, "&", "&&"); }

bool CanModifySection(std::string_view name) { return name != kDefaultSectionName; }

std::string FreeSectionName(const IShellFileOps& shell, const fs::path& entriesFolder) {
  std::string name = "New";
  for (int n = 2; shell.Exists(entriesFolder / PathFromUtf8(name)); ++n) name = "New-" + std::to_string(n);
  return name;
}

std::string CreateSection(const IShellFileOps& shell, EntryStore& store) {
  std::string name = FreeSectionName(shell, store.EntriesFolder());
  store.SetCurrentSection(name);
  std::error_code ec;
  fs::create_directories(store.EntriesFolder() / PathFromUtf8(name), ec);
  return name;
}

SectionRename CheckSectionRename(const IShellFileOps& shell, const fs::path& entriesFolder,
                                 std::string_view oldName, std::string_view newName) {
  if (newName == oldName) return SectionRename::Unchanged;
  if (OnlyDotsAndSpaces(newName) || shell.Exists(entriesFolder / PathFromUtf8(std::string(newName))))
    return SectionRename::AlreadyExists;
  if (HasForbiddenChar(newName)) return SectionRename::ForbiddenCharacter;
  return SectionRename::Allowed;
}

SectionRename RenameSection(IShellFileOps& shell, EntryStore& store, std::string_view oldName,
                            std::string_view newName) {
  if (!CanModifySection(oldName) || !IsUsableSectionName(oldName)) return SectionRename::Unchanged;
  const fs::path& entries = store.EntriesFolder();
  SectionRename verdict = CheckSectionRename(shell, entries, oldName, newName);
  if (verdict != SectionRename::Allowed) return verdict;
  store.SetCurrentSection(std::string(newName));
  // A failed rename is not reported: the lists are rebuilt from the folders as they are.
  shell.RenameFolder(entries / PathFromUtf8(std::string(oldName)), entries / PathFromUtf8(std::string(newName)));
  return verdict;
}

SectionDelete CheckSectionDelete(std::string_view name) {
  if (name == kDefaultSectionName) return SectionDelete::RefuseDefault;
  if (!IsUsableSectionName(name)) return SectionDelete::Nothing;
  return SectionDelete::Confirm;
}

bool DeleteSection(IShellFileOps& shell, EntryStore& store, std::string_view name) {
  if (CheckSectionDelete(name) != SectionDelete::Confirm) return false;
  // The switch comes first: what is still to be saved into the section (an open
  // pop-up's text) lands in its folder before that folder goes to the recycle bin.
  const std::string folder(name), active = store.CurrentSection();
  store.SetCurrentSection(kDefaultSectionName);
  const fs::path path = store.EntriesFolder() / PathFromUtf8(folder);
  if (shell.RecycleFolder(path)) return true;
  // Refused (the user said no when the shell warned it would delete for good, or the
  // folder is in use): the section that was active stays active.
  std::error_code ec;
  if (fs::is_directory(path, ec)) store.SetCurrentSection(active);
  return false;
}

}  // namespace ov
