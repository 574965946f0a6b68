#pragma once
// Backup of the user's entries and picture settings into a cabinet file, and restore
// from one, as the backup tab runs them. The tab is a thin shell over ButtonBackupClick
// and ButtonRestoreBackupClick; the platform's dialogs, message boxes and the refresh
// after a restore come through IBackupHost, so tests drive both without a window.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ov {

class ICodePage;
class IDiskSpace;
class IFileAttributes;
class ILocaleNames;
struct Settings;

inline constexpr uint16_t kBackupSetId = 3000;

inline constexpr const char* kBackupFolderTitle = "选择备份目标";
inline constexpr const char* kBackupCaption = "创建压缩备份";
inline constexpr const char* kBackupBusyCaption = "请稍等...";
inline constexpr const char* kNothingToBackUp = "没有要备份的新数据。";
inline constexpr const char* kBackupFileFilter = "备份文件 (*.cab)|*.CAB";
inline constexpr const char* kNeverBackedUp = "未备份";
inline constexpr const char* kNotABackupCabinet = "不是有效的备份 CAB 文件。";
inline constexpr const char* kNotOurBackupCabinet = "不是有效的 Orvinta 备份 CAB 文件";
extern const char* const kForceRestoreWarning;

// "<folder>Orvinta-Backup[ ALL] yyyy.mm.dd [hh.mm.ss].cab"; `folder` ends in a separator.
std::string BackupFileName(const std::string& folder, bool complete, double now);

// Whether a file name is a backup cabinet cut short while it was written:
// "Orvinta-Backup<...>.cab.part<N>".
bool IsBackupPartName(std::string_view fileName);
// Removes such leftovers, and nothing else, from a folder backups were written to.
// Returns how many were removed.
size_t RemoveStaleBackupParts(const std::filesystem::path& folder);

// The age of a backup made at `t`, read at `now`, for the "上次备份:" label. Times of
// day come from the locale's time format.
std::string FormatBackupAge(double t, double now, const ILocaleNames& locale);
// The label's text: the age, or "未备份" when no backup was made (t <= 0).
std::string LastBackupText(double lastBackupTime, double now, const ILocaleNames& locale);

struct BackupJob {
  std::string targetFolder;                 // with a trailing separator
  std::filesystem::path entriesFolder;      // stored under "Entries"
  std::filesystem::path imageCrcFolder;     // stored under "ImageCRC" when includeImageProps
  bool onlyNew = false;
  bool includeImageProps = true;
  double lastBackupTime = 0;
  double now = 0;                           // local time at the start
  const IFileAttributes* attributes = nullptr;  // null: the portable ones
};

enum class BackupOutcome { Failed, NothingNew, Done };

struct BackupResult {
  BackupOutcome outcome = BackupOutcome::Failed;
  int fileCount = -1;
  std::string cabinetFile;    // full name (UTF-8)
  uint64_t cabinetSize = 0;
  std::string message;        // text of the box to show: error (Abort) or information
  double newLastBackupTime = 0;  // the value LastBackupTime takes when Done
};

// Steps 4 to 7 and the outcome of 9: writes the cabinet under a temporary name that
// becomes the backup only when complete; with nothing to back up no file is left.
BackupResult RunBackup(const BackupJob& job);

enum class RestoreOutcome { CannotOpen, NotCabinet, WrongProgram, Done };

struct RestoreResult {
  RestoreOutcome outcome = RestoreOutcome::CannotOpen;
  int total = 0;     // files in the cabinet
  int older = 0;     // files not newer than the current ones
  int skipped = 0;   // files left alone: older without force, or with an unsafe name
  int failed = 0;    // files that could not be extracted whole (damaged cabinet, target errors)
  std::string message;       // text of the box to show
  std::string extractError;  // the extraction's first error, empty when none
  int Restored() const { return total - skipped - failed; }
};

// What a restore may write, whatever sizes a cabinet claims: no note, colour-code or
// picture-property file comes near 64 MiB, and the data folder's volume keeps 64 MiB free.
struct RestoreLimits {
  uint64_t maxFileSize = uint64_t(64) << 20;
  uint64_t spaceReserve = uint64_t(64) << 20;
  const IDiskSpace* diskSpace = nullptr;  // null: the portable query
};

// Restores the cabinet into `dataFolder`: entries newer than the current files or
// without a current file are written; others count as older and are written only with
// `force`. Names that would leave the data folder are skipped. Entries over the size
// limit, and every entry from the one that would eat into the reserved space on, are not
// written and count as failed.
RestoreResult RunRestore(const std::filesystem::path& cabinet, const std::filesystem::path& dataFolder, bool force,
                         const ICodePage* codePage = nullptr, const IFileAttributes* attributes = nullptr,
                         const RestoreLimits& limits = {});

// What the backup tab needs from the platform.
class IBackupHost {
 public:
  virtual ~IBackupHost() = default;
  // The shell's folder browser with the title, preselecting `initial`; nullopt on cancel.
  virtual std::optional<std::string> BrowseForFolder(const std::string& title, const std::string& initial) = 0;
  // Saves the image tab's picture properties when they changed.
  virtual void WriteImageProps() = 0;
  virtual void SetBackupButton(bool enabled, const std::string& caption) = 0;
  virtual void SetLastBackupLabel(const std::string& text) = 0;
  virtual bool IsForceChecked() = 0;
  virtual void SetForceChecked(bool checked) = 0;
  virtual void SetRestoreButtonEnabled(bool enabled) = 0;
  // A warning box with Yes and No; true for Yes.
  virtual bool ConfirmWarning(const std::string& text) = 0;
  // The open-file dialog in `folder` with `filter`; nullopt on cancel.
  virtual std::optional<std::string> OpenBackupFile(const std::string& folder, const std::string& filter) = 0;
  virtual std::string DesktopFolder() = 0;
  // Rebuilds what restored files change: preview, wallpaper and section lists.
  virtual void RefreshAfterRestore() = 0;
  virtual void ShowInformation(const std::string& text) = 0;
  // An error box with an Abort button.
  virtual void ShowError(const std::string& text) = 0;
};

struct BackupContext {
  Settings& settings;
  std::filesystem::path dataFolder;
  IBackupHost& host;
  const ILocaleNames& locale;
  double now = 0;                        // local time when the button was clicked
  const ICodePage* codePage = nullptr;   // of names stored without the UTF-8 mark
  const IFileAttributes* attributes = nullptr;  // null: the portable ones
  RestoreLimits restoreLimits;
  // The folder the shared data (Entries, ImageCRC) lives in when it is not the data
  // folder: backups are taken from it and restored into it.
  std::filesystem::path notesFolder;
};

void ButtonBackupClick(BackupContext& ctx);
void ButtonRestoreBackupClick(BackupContext& ctx);

}  // namespace ov
