#include "core/backup/Backup.h"

#include <gtest/gtest.h>

#include "BackupTestSupport.h"
#include "core/platform/DiskSpace.h"
#include "core/platform/FileAttributes.h"
#include "core/platform/LocaleNames.h"
#include "core/settings/Settings.h"
#include "core/util/Text.h"

namespace ov {
namespace {

using test::ReadFile;
using test::TempDir;
using test::TreeOf;
using test::WriteWithTime;
namespace fs = std::filesystem;

const double kStart = EncodeDateTime(2024, 3, 7, 9, 5, 33);
const double kFileTime = EncodeDateTime(2024, 3, 7, 9, 0, 0);
const char kSep = static_cast<char>(std::filesystem::path::preferred_separator);

// A data folder with three notes of the default section, a codes file and a picture's
// properties, all last written at kFileTime, and an empty folder for backups.
class BackupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data_ = dir_.Path() / "data";
    backups_ = dir_.Path() / "backups";
    fs::create_directories(backups_);
    for (const char* rel : kNotes) WriteWithTime(Data(rel), std::string("[EOHDR]\r\n") + rel + "\r\n", kFileTime);
    WriteWithTime(Data("Entries/Codes2024.dat"), std::string(1480, '\0'), kFileTime);
    WriteWithTime(Data("ImageCRC/CRC_0badf00d.ini"), "[Misc]\r\nVer=30\r\n", kFileTime);
  }

  fs::path Data(const std::string& rel) const { return data_ / PathFromUtf8(rel); }

  BackupJob Job(bool onlyNew, double last = 0, double now = kStart) const {
    BackupJob job;
    job.targetFolder = PathToUtf8(backups_) + static_cast<char>(fs::path::preferred_separator);
    job.entriesFolder = data_ / "Entries";
    job.imageCrcFolder = data_ / "ImageCRC";
    job.onlyNew = onlyNew;
    job.lastBackupTime = last;
    job.now = now;
    return job;
  }

  // The names a cabinet holds.
  static std::vector<std::string> Names(const fs::path& cabinet) {
    std::string bytes = ReadFile(cabinet);
    test::MemorySink sink;
    test::ReadAll(bytes, sink);
    std::vector<std::string> names;
    for (const auto& [name, x] : sink.files) names.push_back(name);
    return names;
  }

  static constexpr const char* kNotes[] = {"Entries/默认/Notes/2024/Notes_2024-03-05.txt",
                                           "Entries/默认/Notes/2024/Notes_2024-03-06.txt",
                                           "Entries/默认/Notes/2024/Notes_2024-03-07.txt"};
  TempDir dir_;
  fs::path data_, backups_;
};

TEST(BackupNameTest, NameCarriesKindDateAndTimeWithTwoDigitFields) {
  EXPECT_EQ(BackupFileName("D:\\Backup\\", true, kStart), "D:\\Backup\\Orvinta-Backup ALL 2024.03.07 [09.05.33].cab");
  EXPECT_EQ(BackupFileName("D:\\Backup\\", false, kStart), "D:\\Backup\\Orvinta-Backup 2024.03.07 [09.05.33].cab");
  EXPECT_EQ(BackupFileName("", true, EncodeDateTime(987, 12, 31, 23, 59, 59, 999)),
            "Orvinta-Backup ALL 987.12.31 [23.59.59].cab");
}

TEST(BackupAgeTest, EveryRowOfTheTableAndItsBoundaries) {
  FakeLocaleNames locale;
  const double now = EncodeDateTime(2024, 6, 15, 12, 0, 0);
  // t = n days and six hours before now, so that trunc(now - t) = n.
  struct Row {
    int n;
    const char* text;
  } rows[] = {{2, "2 天以前"},           {6, "6 天以前"},          {7, "一星期以前"},       {8, "8 天以前"},
              {13, "13 天以前"},         {14, "二星期以前"},       {15, "15 天以前"},       {45, "45 天以前"},
              {61, "61 天以前"},         {62, "2 个月以前"},       {100, "3 个月以前"},     {600, "20 个月以前"},
              {601, "超过 1 年以前"},    {800, "超过 2 年以前"},   {999999, "超过 2739 年以前"},
              {1000000, "将来的日期"}};
  for (const Row& r : rows) EXPECT_EQ(FormatBackupAge(now - r.n - 0.25, now, locale), r.text) << r.n;
  // Calendar days decide today, yesterday and the day before, whatever the hours.
  double justAfterMidnight = EncodeDateTime(2024, 6, 15, 0, 1, 0);
  EXPECT_EQ(FormatBackupAge(EncodeDateTime(2024, 6, 14, 23, 59, 0), justAfterMidnight, locale), "昨天 23:59:00");
  EXPECT_EQ(FormatBackupAge(EncodeDateTime(2024, 6, 15, 0, 0, 30), justAfterMidnight, locale), "今天 00:00:30");
  EXPECT_EQ(FormatBackupAge(EncodeDateTime(2024, 6, 13, 0, 0, 1), justAfterMidnight, locale), "2 天以前");
  EXPECT_EQ(FormatBackupAge(EncodeDateTime(2024, 6, 15, 23, 0, 0), now, locale), "今天 23:00:00");
  EXPECT_EQ(FormatBackupAge(now + 1.5, now, locale), "将来的日期");
  EXPECT_EQ(FormatBackupAge(EncodeDateTime(2024, 6, 16, 0, 30, 0), EncodeDateTime(2024, 6, 15, 23, 0, 0), locale),
            "将来的日期");
  EXPECT_EQ(LastBackupText(0, now, locale), "未备份");
  EXPECT_EQ(LastBackupText(now - 7.25, now, locale), "一星期以前");
}

TEST_F(BackupTest, CompleteBackupHoldsEveryFileUnderItsPrefixAndSaysSo) {
  BackupResult r = RunBackup(Job(false));
  ASSERT_EQ(r.outcome, BackupOutcome::Done) << r.message;
  EXPECT_EQ(r.fileCount, 5);
  EXPECT_EQ(r.cabinetFile, PathToUtf8(backups_ / "Orvinta-Backup ALL 2024.03.07 [09.05.33].cab"));
  EXPECT_EQ(r.message, "备份完成。\r\n\r\n- 文件名“" + r.cabinetFile + "”\r\n- 包含 5 个文件\r\n- 备份文件的大小为 1 KB");
  EXPECT_EQ(r.newLastBackupTime, kStart);
  EXPECT_EQ(Names(PathFromUtf8(r.cabinetFile)),
            (std::vector<std::string>{"Entries\\Codes2024.dat", "Entries\\默认\\Notes\\2024\\Notes_2024-03-05.txt",
                                      "Entries\\默认\\Notes\\2024\\Notes_2024-03-06.txt",
                                      "Entries\\默认\\Notes\\2024\\Notes_2024-03-07.txt", "ImageCRC\\CRC_0badf00d.ini"}));
  // Only the finished cabinet is there, no temporary file beside it.
  EXPECT_EQ(TreeOf(backups_).size(), 1u);

  BackupJob noProps = Job(false, 0, kStart + 1.0);
  noProps.includeImageProps = false;
  BackupResult r2 = RunBackup(noProps);
  EXPECT_EQ(r2.fileCount, 4);
}

TEST_F(BackupTest, ChangesOnlyRightAfterACompleteBackupFindsNothingAndLeavesNoFile) {
  BackupResult full = RunBackup(Job(false));
  ASSERT_EQ(full.outcome, BackupOutcome::Done);
  BackupResult r = RunBackup(Job(true, full.newLastBackupTime, kStart + 60.0 / 86400));
  EXPECT_EQ(r.outcome, BackupOutcome::NothingNew);
  EXPECT_EQ(r.fileCount, 0);
  EXPECT_EQ(r.message, "没有要备份的新数据。");
  EXPECT_EQ(TreeOf(backups_).size(), 1u);
}

TEST_F(BackupTest, ChangesOnlyComparesAtTwoSecondResolution) {
  const double last = EncodeDateTime(2024, 3, 7, 10, 0, 0);
  struct Row {
    int second;  // modification time 09:59:59 + this many seconds
    bool taken;
  } rows[] = {{0, false}, {1, false}, {2, false}, {3, true}, {4, true}};
  fs::remove_all(data_);
  for (const Row& row : rows)
    WriteWithTime(Data("Entries/f" + std::to_string(row.second) + ".txt"), "x",
                  EncodeDateTime(2024, 3, 7, 9, 59, 59) + row.second / 86400.0);
  BackupResult r = RunBackup(Job(true, last, last + 0.01));
  ASSERT_EQ(r.outcome, BackupOutcome::Done) << r.message;
  EXPECT_EQ(r.fileCount, 2);
  EXPECT_EQ(Names(PathFromUtf8(r.cabinetFile)), (std::vector<std::string>{"Entries\\f3.txt", "Entries\\f4.txt"}));
  EXPECT_NE(r.cabinetFile.find("Orvinta-Backup 2024.03.07"), std::string::npos);
}

TEST_F(BackupTest, FailedBackupLeavesNothingBehind) {
  test::WriteFile(dir_.Path() / "plain-file", "x");
  BackupJob job = Job(false);
  job.targetFolder = PathToUtf8(dir_.Path() / "plain-file" / "sub") + "/";
  BackupResult r = RunBackup(job);
  EXPECT_EQ(r.outcome, BackupOutcome::Failed);
  EXPECT_EQ(r.fileCount, -1);
  EXPECT_EQ(r.message.substr(0, 29), "Could not create cabinet file");
  EXPECT_EQ(r.message.substr(r.message.size() - 9), " [0x0006]");
  EXPECT_EQ(TreeOf(dir_.Path()).count("plain-file"), 1u);
  EXPECT_EQ(TreeOf(backups_).size(), 0u);
}

// Start-up clears partial cabinets of interrupted backups from the backup folder; the
// user's other files there are not the program's to remove.
TEST_F(BackupTest, StaleBackupPartsAreRemovedFromTheBackupFolder) {
  const std::string partial = "Orvinta-Backup ALL 2024.03.07 [09.05.33].cab.part0";
  const char* kept[] = {"Orvinta-Backup 2024.03.07 [09.05.33].cab", "movie.cab.part1", "notes.txt.tmp1-2",
                        "Orvinta-Backup.txt.cabpart"};
  WriteWithTime(backups_ / partial, "MSCF", kFileTime);
  for (const char* name : kept) WriteWithTime(backups_ / name, "x", kFileTime);
  test::WriteFile(backups_ / "Orvinta-Backup 2024.03.08 [10.00.00].cab.part1", "MSCF");  // still being written
  EXPECT_EQ(RemoveStaleBackupParts(backups_), 1u);
  EXPECT_FALSE(fs::exists(backups_ / PathFromUtf8(partial)));
  EXPECT_EQ(TreeOf(backups_).size(), std::size(kept) + 1);
  EXPECT_EQ(RemoveStaleBackupParts({}), 0u);
}

class RestoreTest : public BackupTest {
 protected:
  void SetUp() override {
    BackupTest::SetUp();
    BackupResult r = RunBackup(Job(false));
    ASSERT_EQ(r.outcome, BackupOutcome::Done) << r.message;
    cabinet_ = PathFromUtf8(r.cabinetFile);
  }
  // A backup cabinet in the backups folder holding the given files, all written at kStart.
  fs::path Cabinet(const char* file, std::initializer_list<std::pair<const char*, std::string>> entries) const {
    TSTCabWriter w;
    w.SetID = kBackupSetId;
    w.CreateCabinet(backups_ / file);
    for (const auto& [name, bytes] : entries) w.AddBytes(bytes, name, DosFromDateTime(kStart));
    w.CloseCabinet(true);
    return backups_ / file;
  }
  static std::string Summary(int total, int older, int restored) {
    return Format("- 备份中有 %d 个文件，其中有 %d 个比当前文件旧。\r\n- 已恢复 %d 个文件。", total, older, restored);
  }
  fs::path cabinet_;
};

TEST_F(RestoreTest, SameTimesRestoreNothingUnlessForced) {
  // Changed text with the old time: only force brings the backup's text back.
  WriteWithTime(Data(kNotes[0]), "[EOHDR]\r\nchanged\r\n", kFileTime);
  RestoreResult r = RunRestore(cabinet_, data_, false);
  EXPECT_EQ(r.message, Summary(5, 5, 0));
  EXPECT_EQ(ReadFile(Data(kNotes[0])), "[EOHDR]\r\nchanged\r\n");
  RestoreResult forced = RunRestore(cabinet_, data_, true);
  EXPECT_EQ(forced.message, Summary(5, 5, 5));
  EXPECT_EQ(ReadFile(Data(kNotes[0])), std::string("[EOHDR]\r\n") + kNotes[0] + "\r\n");
  EXPECT_EQ(*FileDosWriteTime(Data(kNotes[0])), DosFromDateTime(kFileTime));
}

TEST_F(RestoreTest, MissingFilesAreAlwaysRestoredAndNewerOnesKept) {
  fs::remove(Data(kNotes[0]));
  fs::remove_all(data_ / "ImageCRC");
  WriteWithTime(Data(kNotes[1]), "[EOHDR]\r\nnewer\r\n", kFileTime + 1);
  WriteWithTime(Data(kNotes[2]), "[EOHDR]\r\nolder\r\n", kFileTime - 1);
  RestoreResult r = RunRestore(cabinet_, data_, false);
  // Codes file and note 1 are not newer in the backup; note 2 is, the others are missing.
  EXPECT_EQ(r.message, Summary(5, 2, 3));
  EXPECT_EQ(ReadFile(Data(kNotes[0])), std::string("[EOHDR]\r\n") + kNotes[0] + "\r\n");
  EXPECT_EQ(ReadFile(Data(kNotes[1])), "[EOHDR]\r\nnewer\r\n");
  EXPECT_EQ(ReadFile(Data(kNotes[2])), std::string("[EOHDR]\r\n") + kNotes[2] + "\r\n");
  EXPECT_EQ(ReadFile(Data("ImageCRC/CRC_0badf00d.ini")), "[Misc]\r\nVer=30\r\n");
}

TEST_F(RestoreTest, EmptyEntriesMissingLocallyAreRestored) {
  TSTCabWriter w;
  w.SetID = kBackupSetId;
  w.CreateCabinet(backups_ / "empty.cab");
  w.AddBytes("", "Entries\\zero.txt", DosFromDateTime(kFileTime));
  w.AddBytes("[EOHDR]\r\n", "Entries\\默认\\Notes\\2024\\Notes_2024-01-01.txt", DosFromDateTime(kFileTime));
  w.CloseCabinet(true);
  RestoreResult r = RunRestore(backups_ / "empty.cab", data_, false);
  EXPECT_EQ(r.message, Summary(2, 0, 2));
  EXPECT_TRUE(fs::exists(Data("Entries/zero.txt")));
  EXPECT_EQ(fs::file_size(Data("Entries/zero.txt")), 0u);
  EXPECT_EQ(ReadFile(Data("Entries/默认/Notes/2024/Notes_2024-01-01.txt")), "[EOHDR]\r\n");
}

TEST_F(RestoreTest, NamesThatWouldLeaveTheDataFolderAreSkipped) {
  const char* bad[] = {"..\\escaped.txt", "Xrooted.txt", "C:\\drive.txt", "Entries\\..\\..\\up.txt", "Yabs.txt",
                       "Entries\\nul"};
  TSTCabWriter w;
  w.SetID = kBackupSetId;
  w.CreateCabinet("unused.cab");
  for (const char* name : bad) w.AddBytes("evil", name, DosFromDateTime(kStart));
  w.AddBytes("good", "Entries\\good.txt", DosFromDateTime(kStart));
  std::string bytes = w.FinishToBytes();
  // The writer drops leading separators, so the rooted names get theirs in the bytes
  // (names are outside the checksums).
  for (std::string from : {"Xrooted", "Yabs"}) {
    size_t at = bytes.find(from);
    ASSERT_NE(at, std::string::npos);
    bytes[at] = from[0] == 'X' ? '\\' : '/';
  }
  test::WriteFile(backups_ / "evil.cab", bytes);
  RestoreResult r = RunRestore(backups_ / "evil.cab", data_, false);
  EXPECT_EQ(r.total, 7);
  EXPECT_EQ(r.skipped, 6);
  EXPECT_EQ(r.failed, 0);
  EXPECT_EQ(r.message, Summary(7, 0, 1));
  EXPECT_EQ(ReadFile(Data("Entries/good.txt")), "good");
  for (const char* name : {"escaped.txt", "up.txt", "drive.txt", "rooted.txt", "abs.txt"}) {
    EXPECT_FALSE(fs::exists(dir_.Path() / name)) << name;
    EXPECT_FALSE(fs::exists(data_ / name)) << name;
  }
  EXPECT_FALSE(fs::exists(fs::path("/rooted.txt")));
  EXPECT_FALSE(fs::exists(fs::path("/abs.txt")));
}

TEST_F(RestoreTest, DamagedCabinetLeavesTheCurrentFileWholeAndMakesNoFolders) {
  // The codes file is newer than the current one; the note would open a new section.
  fs::path damaged = Cabinet("damaged.cab", {{"Entries\\Codes2024.dat", test::TestBytes(100000, 11, false)},
                                             {"Entries\\新\\Notes\\2024\\Notes_2024-01-01.txt", "[EOHDR]\r\n"}});
  std::string bytes = ReadFile(damaged);
  bytes[bytes.size() - 100] ^= 0x01;
  test::WriteFile(damaged, bytes);
  auto before = TreeOf(data_);
  RestoreResult r = RunRestore(damaged, data_, true);
  EXPECT_EQ(r.outcome, RestoreOutcome::Done);
  EXPECT_EQ(r.failed, 2);
  EXPECT_EQ(r.message, Summary(2, 0, 0));
  EXPECT_NE(r.extractError.find("checksum"), std::string::npos) << r.extractError;
  EXPECT_TRUE(TreeOf(data_) == before);  // old bytes, and no temporary file left
  EXPECT_FALSE(fs::exists(Data("Entries/新")));
}

// Answers the free-space question as set and remembers where it was asked.
class FakeDiskSpace final : public IDiskSpace {
 public:
  explicit FakeDiskSpace(std::optional<uint64_t> available) : available_(available) {}
  std::optional<uint64_t> Available(const fs::path& path) const override {
    asked.push_back(path);
    return available_;
  }
  mutable std::vector<fs::path> asked;

 private:
  std::optional<uint64_t> available_;
};

// The sizes a cabinet claims are what a restore writes: entries over the size limit are
// refused, and once the next entry would eat into the reserved space nothing more is
// written. Both count as not restored, and nothing of them is left on disk.
TEST_F(RestoreTest, ClaimedSizesAreBoundedByTheLimitAndTheFreeSpace) {
  fs::path cabinet = Cabinet("sizes.cab", {{"Entries\\big.txt", std::string(3001, 'b')},
                                           {"Entries\\a.txt", std::string(2000, 'a')},
                                           {"Entries\\b.txt", std::string(2000, 'b')},
                                           {"Entries\\c.txt", std::string(2000, 'c')},
                                           {"Entries\\d.txt", "d"}});
  struct Row {
    std::optional<uint64_t> available;
    int restored;
    std::vector<const char*> written;
  } rows[] = {
      {1000 + 5000, 2, {"a", "b"}},             // c does not fit in 5000 bytes; d comes after it
      {std::nullopt, 4, {"a", "b", "c", "d"}},  // unknown room: only the size limit
      {500, 0, {}},                             // less than the reserve
  };
  for (const Row& row : rows) {
    for (const char* f : {"big", "a", "b", "c", "d"}) fs::remove(Data(std::string("Entries/") + f + ".txt"));
    auto before = TreeOf(data_);
    FakeDiskSpace space(row.available);
    RestoreLimits limits;
    limits.maxFileSize = 3000;
    limits.spaceReserve = 1000;
    limits.diskSpace = &space;
    RestoreResult r = RunRestore(cabinet, data_, false, nullptr, nullptr, limits);
    EXPECT_EQ(r.message, Summary(5, 0, row.restored));
    EXPECT_EQ(r.failed, 5 - row.restored);
    EXPECT_EQ(space.asked, std::vector<fs::path>{data_});
    for (const char* f : row.written) {
      const std::string rel = std::string("Entries/") + f + ".txt";
      ASSERT_TRUE(fs::exists(Data(rel))) << rel;
      before[rel] = ReadFile(Data(rel));
    }
    EXPECT_TRUE(TreeOf(data_) == before);  // only those written, and no temporaries
  }
}

// Records which files get their attributes set.
class RecordingAttributes final : public IFileAttributes {
 public:
  std::optional<uint16_t> Get(const fs::path& file) const override { return portable_.Get(file); }
  bool Set(const fs::path& file, uint16_t attributes) const override {
    set.push_back(file);
    return portable_.Set(file, attributes);
  }
  mutable std::vector<fs::path> set;

 private:
  PortableFileAttributes portable_;
};

// A file entry named like an existing section folder fails and leaves the folder exactly
// as it was: any attribute set on it would hide the section from the list.
TEST_F(RestoreTest, AnEntryNamedLikeASectionFolderLeavesTheFolderAlone) {
  fs::path cabinet = Cabinet("section.cab", {{"Entries\\默认", "not a folder"}, {"Entries\\ok.txt", "ok"}});
  auto before = TreeOf(data_);
  RecordingAttributes attributes;
  RestoreResult r = RunRestore(cabinet, data_, true, nullptr, &attributes);
  EXPECT_EQ(r.message, Summary(2, 0, 1));
  EXPECT_EQ(r.failed, 1);
  EXPECT_TRUE(fs::is_directory(Data("Entries/默认")));
  EXPECT_EQ(attributes.set, std::vector<fs::path>{Data("Entries/ok.txt")});
  before["Entries/ok.txt"] = "ok";
  EXPECT_TRUE(TreeOf(data_) == before);
}

TEST_F(RestoreTest, FilesThatAreNoBackupAreRefusedWithTheirName) {
  test::WriteFile(backups_ / "notes.cab", "[EOHDR]\r\nnot a cabinet\r\n");
  RestoreResult r = RunRestore(backups_ / "notes.cab", data_, false);
  EXPECT_EQ(r.outcome, RestoreOutcome::NotCabinet);
  EXPECT_EQ(r.message, "\"" + PathToUtf8(backups_ / "notes.cab") + "\"\r\n不是有效的备份 CAB 文件。");

  TSTCabWriter w;
  w.SetID = 1234;
  w.CreateCabinet(backups_ / "other.cab");
  w.AddBytes("x", "Entries\\x.txt", DosFromDateTime(kStart));
  w.CloseCabinet(true);
  RestoreResult other = RunRestore(backups_ / "other.cab", data_, false);
  EXPECT_EQ(other.outcome, RestoreOutcome::WrongProgram);
  EXPECT_EQ(other.message, "\"" + PathToUtf8(backups_ / "other.cab") + "\"\r\n不是有效的 Orvinta 备份 CAB 文件");
  EXPECT_FALSE(fs::exists(Data("Entries/x.txt")));

  RestoreResult missing = RunRestore(backups_ / "gone.cab", data_, false);
  EXPECT_EQ(missing.outcome, RestoreOutcome::CannotOpen);
  EXPECT_FALSE(missing.message.empty());
}

// Records what the tab is asked to do, and answers the dialogs as set.
class FakeHost final : public IBackupHost {
 public:
  std::vector<std::string> calls;
  std::optional<std::string> folder, file;
  bool force = false, confirm = true;

  std::optional<std::string> BrowseForFolder(const std::string& title, const std::string& initial) override {
    calls.push_back("browse " + title + " " + initial);
    return folder;
  }
  void WriteImageProps() override { calls.push_back("props"); }
  void SetBackupButton(bool enabled, const std::string& caption) override {
    calls.push_back(std::string(enabled ? "enable " : "disable ") + caption);
  }
  void SetLastBackupLabel(const std::string& text) override { calls.push_back("label " + text); }
  bool IsForceChecked() override { return force; }
  void SetForceChecked(bool checked) override {
    force = checked;
    calls.push_back(checked ? "check" : "uncheck");
  }
  void SetRestoreButtonEnabled(bool enabled) override { calls.push_back(enabled ? "restore on" : "restore off"); }
  bool ConfirmWarning(const std::string& text) override {
    calls.push_back(text == kForceRestoreWarning ? "confirm" : "confirm?");
    return confirm;
  }
  std::optional<std::string> OpenBackupFile(const std::string& start, const std::string& filter) override {
    calls.push_back("open " + start + " " + filter);
    return file;
  }
  std::string DesktopFolder() override { return "/desktop"; }
  void RefreshAfterRestore() override { calls.push_back("refresh"); }
  void ShowInformation(const std::string& text) override { calls.push_back("info " + text); }
  void ShowError(const std::string& text) override { calls.push_back("error " + text); }
};

TEST_F(BackupTest, BackupButtonRunsItsStepsInOrder) {
  Settings s;
  s.BackupPath = "/old/";
  FakeHost host;
  FakeLocaleNames locale;
  BackupContext ctx{s, data_, host, locale, kStart};
  ButtonBackupClick(ctx);  // cancelled browser: nothing else happens
  EXPECT_EQ(host.calls, (std::vector<std::string>{"browse 选择备份目标 /old"}));

  host.calls.clear();
  host.folder = PathToUtf8(backups_);
  ButtonBackupClick(ctx);
  std::string cabinet = BackupFileName(PathToUtf8(backups_) + kSep, true, kStart);
  std::string done = "备份完成。\r\n\r\n- 文件名“" + cabinet + "”\r\n- 包含 5 个文件\r\n- 备份文件的大小为 1 KB";
  EXPECT_EQ(host.calls, (std::vector<std::string>{"browse 选择备份目标 /old", "props", "disable 请稍等...",
                                                  "enable 创建压缩备份", "label 今天 09:05:33", "info " + done}));
  EXPECT_EQ(s.BackupPath, PathToUtf8(backups_) + static_cast<char>(fs::path::preferred_separator));
  EXPECT_EQ(s.LastBackupTime, kStart);

  // A changes-only backup with nothing new keeps LastBackupTime.
  s.BackupOnlyNew = true;
  host.calls.clear();
  ctx.now = kStart + 0.5;
  ButtonBackupClick(ctx);
  EXPECT_EQ(host.calls.back(), std::string("info ") + kNothingToBackUp);
  EXPECT_EQ(s.LastBackupTime, kStart);
}

TEST_F(RestoreTest, RestoreButtonConfirmsForceAndAlwaysComesBack) {
  Settings s;
  FakeHost host;
  FakeLocaleNames locale;
  BackupContext ctx{s, data_, host, locale, kStart};
  host.force = true;
  host.confirm = false;
  ButtonRestoreBackupClick(ctx);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"confirm", "uncheck"}));

  host.calls.clear();
  host.force = false;
  fs::path notCab = backups_ / "sub" / "x.cab";
  test::WriteFile(notCab, "no cabinet");
  host.file = PathToUtf8(notCab);
  ButtonRestoreBackupClick(ctx);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"open /desktop" + std::string(1, kSep) + " 备份文件 (*.cab)|*.CAB",
                                                  "restore off", "error \"" + PathToUtf8(notCab) + "\"\r\n" + kNotABackupCabinet,
                                                  "uncheck", "restore on"}));
  EXPECT_EQ(s.BackupPath, PathToUtf8(backups_ / "sub") + kSep);

  host.calls.clear();
  host.force = true;
  host.confirm = true;
  host.file = PathToUtf8(cabinet_);
  ButtonRestoreBackupClick(ctx);
  EXPECT_EQ(host.calls,
            (std::vector<std::string>{"confirm", "open " + PathToUtf8(backups_ / "sub") + kSep + " 备份文件 (*.cab)|*.CAB",
                                      "restore off", "refresh", "info " + Summary(5, 5, 5), "uncheck", "restore on"}));
  EXPECT_FALSE(host.force);
}

}  // namespace
}  // namespace ov
