#include "core/backup/Backup.h"

#include <algorithm>
#include <cmath>

#include "core/app/DataFolders.h"
#include "core/backup/CabReader.h"
#include "core/backup/CabWriter.h"
#include "core/backup/FileTimes.h"
#include "core/calendar/DateTime.h"
#include "core/platform/DiskSpace.h"
#include "core/platform/LocaleNames.h"
#include "core/settings/Settings.h"
#include "core/util/Numeric.h"
#include "core/util/Paths.h"
#include "core/util/StaleTemps.h"
#include "core/util/Text.h"

namespace ov {

namespace fs = std::filesystem;

const char* const kForceRestoreWarning =
    "请注意，备份也许也会包含空的项目。\r\n当您第一次编辑项目时，它便创建了。\r\n"
    "如果您以后清除了项目，它并没有被删除，实际上是变为空文件。\r\n请记住这点...\r\n\r\n"
    "在备份文件中的数据项目将会替换任何存在的数据项目，\r\n甚至备份文件中的项目是空的。\r\n"
    "然而，在备份文件创建以后创建的项目仍然会被保留。\r\n\r\n您确定要继续使用“强制替换”吗?";

namespace {

struct Clock6 {
  int year, month, day, hour, minute, second;
};

Clock6 Split(double dateTime) {
  double v = ClampDateTime(dateTime);
  CivilDate d = DecodeDate(v);
  int s = static_cast<int>(std::floor(TimeOf(v) * 86400.0 + 1e-6));
  if (s > 86399) s = 86399;
  return {d.year, d.month, d.day, s / 3600, (s / 60) % 60, s % 60};
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string WithSeparator(std::string folder) {
  if (!folder.empty() && !IsSeparator(folder.back())) folder += static_cast<char>(fs::path::preferred_separator);
  return folder;
}

// The folder as the browser preselects it: without its trailing separator unless it is
// a bare root such as "C:\".
std::string BrowserInitialFolder(const std::string& folder) {
  std::string s = folder;
  bool bareDriveRoot = s.size() == 3 && s[1] == ':' && IsSeparator(s[2]);
  if (!bareDriveRoot && s.size() > 1 && IsSeparator(s.back())) s.pop_back();
  return s;
}

}  // namespace

std::string BackupFileName(const std::string& folder, bool complete, double now) {
  Clock6 t = Split(now);
  return Format("%sOrvinta-Backup%s %d.%.2d.%.2d [%.2d.%.2d.%.2d].cab", folder.c_str(), complete ? " ALL" : "",
                t.year, t.month, t.day, t.hour, t.minute, t.second);
}

bool IsBackupPartName(std::string_view name) {
  return name.substr(0, std::string_view("Orvinta-Backup").size()) == "Orvinta-Backup" && IsCabinetPartName(name);
}

size_t RemoveStaleBackupParts(const fs::path& folder) {
  if (folder.empty()) return 0;
  StaleTempOptions options;
  options.isTemp = IsBackupPartName;
  return RemoveStaleWriteTemps(folder, options);
}

std::string FormatBackupAge(double t, double now, const ILocaleNames& locale) {
  if (!std::isfinite(t) || !std::isfinite(now)) return "将来的日期";
  auto d = [](double x) { return Trunc(x); };
  int64_t n;
  if (d(now - 2) == d(t)) n = 2;
  else if (d(now - 1) == d(t)) n = 1;
  else if (d(now) == d(t)) n = 0;
  // A time after now on a later day is in the future; truncation alone would call a
  // time tomorrow "today".
  else n = now < t ? -1 : Trunc(now - t);
  auto timeOf = [&]() {
    Clock6 c = Split(t);
    return locale.TimeText(c.hour, c.minute, c.second);
  };
  if (n == 0) return "今天 " + timeOf();
  if (n == 1) return "昨天 " + timeOf();
  if (n == 7) return "一星期以前";
  if (n == 14) return "二星期以前";
  if (n >= 2 && n <= 61) return Format("%d 天以前", static_cast<int>(n));
  if (n >= 62 && n <= 600) return Format("%d 个月以前", static_cast<int>(n / 30));
  if (n >= 601 && n <= 999999) return Format("超过 %d 年以前", static_cast<int>(n / 365));
  return "将来的日期";
}

std::string LastBackupText(double lastBackupTime, double now, const ILocaleNames& locale) {
  return lastBackupTime > 0 ? FormatBackupAge(lastBackupTime, now, locale) : kNeverBackedUp;
}

BackupResult RunBackup(const BackupJob& job) {
  BackupResult result;
  result.cabinetFile = BackupFileName(job.targetFolder, !job.onlyNew, job.now);
  fs::path cabinet = PathFromUtf8(result.cabinetFile);
  // The last date-time the next changes-only backup compares with is the start of this
  // one: a file changed while this backup runs is then taken again next time.
  result.newLastBackupTime = job.now;

  int counter = 0;
  TSTCabWriter writer;
  writer.SetID = kBackupSetId;
  writer.Compression = CabCompression::MsZip;
  writer.Attributes = job.attributes;
  writer.OnBeforeFileAdd = [&](const fs::path& file, bool& skip) {
    ++counter;
    if (!job.onlyNew) return;
    std::error_code ec;
    if (!fs::exists(file, ec) || fs::is_directory(file, ec)) return;
    std::optional<DosDateTime> written = FileDosWriteTime(file);
    // Cabinet entries keep two-second local times; the comparison uses the same.
    if (written && DateTimeFromDos(*written) <= job.lastBackupTime) {
      skip = true;
      --counter;
    }
  };
  try {
    writer.CreateCabinet(cabinet);
    writer.AddFiles(job.entriesFolder, "*.*", "Entries", true);
    if (job.includeImageProps) writer.AddFiles(job.imageCrcFolder, "*.*", "ImageCRC", true);
    if (counter == 0) {
      // Nothing to store: no file is written at all, so none has to be removed.
      writer.Abandon();
      result.outcome = BackupOutcome::NothingNew;
      result.fileCount = 0;
      result.message = kNothingToBackUp;
      return result;
    }
    writer.CloseCabinet(true);
  } catch (const ESTCabinet& e) {
    writer.Abandon();
    result.outcome = BackupOutcome::Failed;
    result.fileCount = -1;
    result.message = e.what();
    return result;
  } catch (const std::exception& e) {
    writer.Abandon();
    result.outcome = BackupOutcome::Failed;
    result.fileCount = -1;
    result.message = ESTCabinet(CabWriteError::CabinetFile, e.what()).what();
    return result;
  }
  result.outcome = BackupOutcome::Done;
  result.fileCount = counter;
  std::error_code ec;
  uintmax_t size = fs::file_size(cabinet, ec);
  result.cabinetSize = ec ? 0 : size;
  uint64_t shown = std::max<uint64_t>(result.cabinetSize, 1024);
  result.message = Format("备份完成。\r\n\r\n- 文件名“%s”\r\n- 包含 %d 个文件\r\n- 备份文件的大小为 %d KB",
                          result.cabinetFile.c_str(), counter, static_cast<int>(Round(shown / 1024.0)));
  return result;
}

namespace {

// The bytes a restore may still write. The room is asked once; from the first entry that
// does not fit, nothing more is written.
class RestoreBudget {
 public:
  RestoreBudget(const RestoreLimits& limits, const fs::path& dataFolder) : maxFileSize_(limits.maxFileSize) {
    static const PortableDiskSpace kPortable;
    const IDiskSpace& space = limits.diskSpace ? *limits.diskSpace : kPortable;
    // Unknown room leaves only the size limit.
    if (std::optional<uint64_t> available = space.Available(dataFolder))
      room_ = *available > limits.spaceReserve ? *available - limits.spaceReserve : 0;
  }

  // Empty when an entry of `size` bytes may be written (and takes its room), else why not.
  std::string Take(uint64_t size) {
    if (size > maxFileSize_) return Format("claims %llu bytes, more than any backed-up file", (unsigned long long)size);
    if (full_) return "the disk is full";
    if (room_) {
      if (size > *room_) {
        full_ = true;
        return "the disk is full";
      }
      *room_ -= size;
    }
    return {};
  }

 private:
  uint64_t maxFileSize_;
  std::optional<uint64_t> room_;
  bool full_ = false;
};

}  // namespace

RestoreResult RunRestore(const fs::path& cabinet, const fs::path& dataFolder, bool force, const ICodePage* codePage,
                         const IFileAttributes* attributes, const RestoreLimits& limits) {
  RestoreResult result;
  std::string quoted;
  quoted += '"';
  quoted += PathToUtf8(cabinet);
  quoted += "\"\r\n";
  TSTCabReader reader;
  reader.CodePage = codePage;
  reader.Attributes = attributes;
  CabHeader header;
  try {
    if (!reader.CabinetInfo(cabinet, header)) {
      result.outcome = RestoreOutcome::NotCabinet;
      result.message = quoted + kNotABackupCabinet;
      return result;
    }
  } catch (const std::exception& e) {
    result.outcome = RestoreOutcome::CannotOpen;
    result.message = e.what();
    return result;
  }
  if (header.setId != kBackupSetId) {
    result.outcome = RestoreOutcome::WrongProgram;
    result.message = quoted + kNotOurBackupCabinet;
    return result;
  }

  RestoreBudget budget(limits, dataFolder);
  reader.OnCopyFile = [&](const CabFileEntry& entry, fs::path& destination, bool&) {
    ++result.total;
    // The reader leaves the destination empty for names that would leave the data folder.
    if (destination.empty()) {
      ++result.skipped;
      return;
    }
    std::error_code ec;
    if (fs::exists(destination, ec) && !fs::is_directory(destination, ec)) {
      std::optional<DosDateTime> current = FileDosWriteTime(destination);
      bool newer = current && entry.time.Packed() > current->Packed();
      if (!newer) {
        ++result.older;
        // With force the entry is written anyway; the finished file replaces the current
        // one, so a damaged entry leaves it as it was.
        if (!force) {
          ++result.skipped;
          destination.clear();
          return;
        }
      }
    }
    // The sizes come from the cabinet: they are checked before anything is written.
    std::string refused = budget.Take(entry.size);
    if (!refused.empty()) {
      ++result.failed;
      if (result.extractError.empty()) result.extractError = entry.name + ": " + refused;
      destination.clear();
    }
  };
  reader.OnFileDone = [&](const CabFileEntry&, const fs::path&, bool ok) {
    if (!ok) ++result.failed;
  };
  try {
    CabExtractReport report = reader.Extract(cabinet, dataFolder);
    if (result.extractError.empty()) result.extractError = report.error;
  } catch (const std::exception& e) {
    // Extraction errors do not stop the restore; the summary shows the counts reached.
    if (result.extractError.empty()) result.extractError = e.what();
  }
  result.outcome = RestoreOutcome::Done;
  result.message = Format("- 备份中有 %d 个文件，其中有 %d 个比当前文件旧。\r\n- 已恢复 %d 个文件。", result.total,
                          result.older, result.Restored());
  return result;
}

void ButtonBackupClick(BackupContext& ctx) {
  Settings& s = ctx.settings;
  std::optional<std::string> folder = ctx.host.BrowseForFolder(kBackupFolderTitle, BrowserInitialFolder(s.BackupPath));
  if (!folder) return;
  ctx.host.WriteImageProps();
  ctx.host.SetBackupButton(false, kBackupBusyCaption);
  s.BackupPath = WithSeparator(*folder);
  DataFolders folders;
  folders.dataFolder = ctx.dataFolder;
  folders.notesFolder = ctx.notesFolder;
  BackupJob job;
  job.targetFolder = s.BackupPath;
  job.entriesFolder = folders.EntriesFolder();
  job.imageCrcFolder = folders.ImageCrcFolder();
  job.onlyNew = s.BackupOnlyNew;
  job.includeImageProps = s.BackupImageProps;
  job.lastBackupTime = s.LastBackupTime;
  job.now = ctx.now;
  job.attributes = ctx.attributes;
  BackupResult r = RunBackup(job);
  ctx.host.SetBackupButton(true, kBackupCaption);
  switch (r.outcome) {
    case BackupOutcome::Failed:
      ctx.host.ShowError(r.message);
      break;
    case BackupOutcome::NothingNew:
      ctx.host.ShowInformation(r.message);
      break;
    case BackupOutcome::Done:
      s.LastBackupTime = r.newLastBackupTime;
      ctx.host.SetLastBackupLabel(LastBackupText(s.LastBackupTime, ctx.now, ctx.locale));
      ctx.host.ShowInformation(r.message);
      break;
  }
}

void ButtonRestoreBackupClick(BackupContext& ctx) {
  Settings& s = ctx.settings;
  bool force = ctx.host.IsForceChecked();
  if (force && !ctx.host.ConfirmWarning(kForceRestoreWarning)) {
    ctx.host.SetForceChecked(false);
    return;
  }
  if (s.BackupPath.empty()) s.BackupPath = WithSeparator(ctx.host.DesktopFolder());
  std::optional<std::string> file = ctx.host.OpenBackupFile(s.BackupPath, kBackupFileFilter);
  if (!file) return;
  fs::path cabinet = PathFromUtf8(*file);
  s.BackupPath = WithSeparator(PathToUtf8(cabinet.parent_path()));
  ctx.host.SetRestoreButtonEnabled(false);
  RestoreResult r = RunRestore(cabinet, ctx.notesFolder.empty() ? ctx.dataFolder : ctx.notesFolder, force, ctx.codePage,
                               ctx.attributes, ctx.restoreLimits);
  if (r.outcome == RestoreOutcome::Done) {
    ctx.host.RefreshAfterRestore();
    ctx.host.ShowInformation(r.message);
  } else {
    ctx.host.ShowError(r.message);
  }
  // Also after a refused file: the button and the check box always come back.
  ctx.host.SetForceChecked(false);
  ctx.host.SetRestoreButtonEnabled(true);
}

}  // namespace ov
