#pragma once
// Entry sections: independent sets of entries, one folder each under the entries folder;
// the folder name is the section name. The list view, buttons and menus call these and
// show the texts below exactly as they are.
#include <string>
#include <string_view>
#include <vector>

#include "core/calendar/EntryStore.h"

namespace ov {

class IShellFileOps;

// --- Texts shown by the windows that manage sections ---
// Warning (OK button), filled with the new name by SectionExistsMessage.
inline constexpr char kSectionExistsMessage[] = "部分“%s”已经存在!";
// Error (OK button) for a name with a forbidden character.
inline constexpr char kSectionNameCharsMessage[] =
    "部分名是您磁盘上的一个文件夹，它不能包含字符\r\n\\:/*?\"<>|\r\n请重新输入部分名。";
// Warning with a single Abort button.
inline constexpr char kDefaultSectionUndeletableMessage[] = "部分“默认”不能被删除!";
// Confirmation (Yes/No), filled with the section by SectionDeleteConfirmMessage.
inline constexpr char kSectionDeleteConfirmMessage[] =
    "部分“%s”和它所有的项目将被移动到回收站中。您真的想要删除它吗?";
inline constexpr char kSectionListColumnCaption[] = "选择活动部分";
inline constexpr char kSectionGroupCaption[] = "部分";
inline constexpr char kSectionMenuCaption[] = "项目部分";  // tray and controller menus
inline constexpr char kCreateSectionCaption[] = "新建";
inline constexpr char kCreateSectionHint[] = "创建新部分";
inline constexpr char kRenameSectionCaption[] = "重命名";
inline constexpr char kRenameSectionHint[] = "重命名所选部分";
inline constexpr char kDeleteSectionCaption[] = "删除";
inline constexpr char kDeleteSectionHint[] = "删除所选部分";

std::string SectionExistsMessage(std::string_view name);
std::string SectionDeleteConfirmMessage(std::string_view name);

// The nine characters a section name cannot contain.
inline constexpr char kForbiddenSectionChars[] = "\\:/*?\"<>|";

// True when the name can stand for one folder inside the entries folder: not empty, none
// of the nine characters, no control characters, not only dots and spaces.
bool IsUsableSectionName(std::string_view name);

// The sections: sub-folders of the entries folder whose only attribute is the directory
// attribute, in the file system's order.
std::vector<std::string> ListSections(const IShellFileOps& shell, const std::filesystem::path& entriesFolder);

// Menu caption of a section: every "&" doubled so that it shows as written.
std::string SectionMenuCaption(std::string_view name);

// Rename and delete are offered for every section but the default one.
bool CanModifySection(std::string_view name);

// "New", or "New-2", "New-3", ... : the first name no file or folder has yet.
std::string FreeSectionName(const IShellFileOps& shell, const std::filesystem::path& entriesFolder);

// Creates a section under a free name, makes it the active one and returns the name.
// The folder is created with its missing parents (a failure is not reported).
std::string CreateSection(const IShellFileOps& shell, EntryStore& store);

enum class SectionRename {
  Unchanged,           // the new name equals the old one exactly: nothing to do
  AlreadyExists,       // show SectionExistsMessage(new name), keep the old caption
  ForbiddenCharacter,  // show kSectionNameCharsMessage, keep the old caption
  Allowed,
};

// Checks a rename in this order: exact equality; a file or folder of the new name exists
// (letter case ignored, so renaming "abc" to "ABC" is refused too; an empty name or one of
// only dots and spaces names the entries folder or its parent and counts as existing);
// forbidden characters (the nine, and control characters).
SectionRename CheckSectionRename(const IShellFileOps& shell, const std::filesystem::path& entriesFolder,
                                 std::string_view oldName, std::string_view newName);

// Runs the check and, when allowed, makes the new name active and renames the folder
// through the shell (a failure there is not reported; the lists are rebuilt from the
// folders afterwards). The default section is never renamed (Unchanged).
SectionRename RenameSection(IShellFileOps& shell, EntryStore& store, std::string_view oldName,
                            std::string_view newName);

enum class SectionDelete {
  RefuseDefault,  // show kDefaultSectionUndeletableMessage and do nothing else
  Confirm,        // ask with SectionDeleteConfirmMessage, then call DeleteSection
  Nothing,        // no usable section name: nothing happens
};
SectionDelete CheckSectionDelete(std::string_view name);

// Makes the default section active, then moves the section's folder into the recycle bin.
// Refuses (false, nothing changed) for the default section and unusable names.
bool DeleteSection(IShellFileOps& shell, EntryStore& store, std::string_view name);

}  // namespace ov
