// Cabinets this program writes are read by cabextract and gcab, and cabinets gcab writes
// are read by this program, byte for byte with names, sizes and dates. Native only: the
// tools are Linux programs; a missing tool skips its test with a message.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "BackupTestSupport.h"

#ifndef _WIN32

namespace ov {
namespace {

using test::ReadFile;
using test::TempDir;
using test::TreeOf;
namespace fs = std::filesystem;

bool HaveTool(const char* name) {
  std::string cmd = std::string("command -v ") + name + " >/dev/null 2>&1";
  return std::system(cmd.c_str()) == 0;
}

std::string Quote(const fs::path& p) {
  std::string s = "'";
  for (char c : p.string()) s += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return s + "'";
}

// Runs a shell command; its standard output, and its exit status in `status`.
std::string Shell(const std::string& cmd, int* status = nullptr) {
  std::string out;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  int rc = pclose(p);
  if (status) *status = rc;
  return out;
}

#define REQUIRE_TOOL(name) \
  if (!HaveTool(name)) GTEST_SKIP() << name " is not installed (scripts/install-deps.sh installs it)"

// A tree like a data folder: 2,000 small notes in sections with Chinese names, a codes
// file, an empty file and a 5 MB file, each with its own time.
class InteropTest : public ::testing::Test {
 protected:
  void SetUp() override {
    src_ = dir_.Path() / "src";
    double base = EncodeDateTime(2024, 3, 7, 9, 5, 33);
    const char* sections[] = {"默认", "Family", "生意"};
    for (int i = 0; i < 2000; ++i) {
      double day = EncodeDate(2020, 1, 1) + i;
      CivilDate d = DecodeDate(day);
      fs::path note = src_ / "Entries" / PathFromUtf8(sections[i % 3]) / "Notes" / std::to_string(d.year) /
                      Format(d.year, d.month, d.day);
      test::WriteWithTime(note, "[EOHDR]\r\nNote " + std::to_string(i) + " 会议\r\n", base - i * 0.37);
    }
    test::WriteWithTime(src_ / "Entries" / "Codes2024.dat", std::string(1480, '\x01'), base);
    test::WriteWithTime(src_ / "Entries" / "empty.txt", "", base - 3);
    test::WriteWithTime(src_ / "ImageCRC" / "big.bin", test::TestBytes(5 << 20, 7, false), base - 400);
    expected_ = TreeOf(src_);
  }

  static std::string Format(int y, int m, int d) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "Notes_%d-%.2d-%.2d.txt", y, m, d);
    return buf;
  }

  // The DOS time of each source file, by its '/'-separated relative name.
  std::map<std::string, DosDateTime> Times() const {
    std::map<std::string, DosDateTime> t;
    for (const auto& [rel, bytes] : expected_) t[rel] = *FileDosWriteTime(src_ / PathFromUtf8(rel));
    return t;
  }

  fs::path WriteOurs() {
    fs::path cab = dir_.Path() / "ours.cab";
    TSTCabWriter w;
    w.SetID = 3000;
    w.CreateCabinet(cab);
    w.AddFiles(src_ / "Entries", "*.*", "Entries", true);
    w.AddFiles(src_ / "ImageCRC", "*.*", "ImageCRC", true);
    w.CloseCabinet(true);
    return cab;
  }

  static std::string DosText(DosDateTime t, const char* fmt, bool dayFirst) {
    int y = 1980 + (t.date >> 9), mo = (t.date >> 5) & 15, d = t.date & 31;
    int h = t.time >> 11, mi = (t.time >> 5) & 63, s = (t.time & 31) * 2;
    char buf[64];
    if (dayFirst) std::snprintf(buf, sizeof buf, fmt, d, mo, y, h, mi, s);
    else std::snprintf(buf, sizeof buf, fmt, y, mo, d, h, mi, s);
    return buf;
  }

  TempDir dir_;
  fs::path src_;
  std::map<std::string, std::string> expected_;
};

TEST_F(InteropTest, CabextractListsTestsAndExtractsOurCabinet) {
  REQUIRE_TOOL("cabextract");
  fs::path cab = WriteOurs();
  int status = -1;
  std::string test = Shell("cabextract -t " + Quote(cab) + " 2>&1", &status);
  EXPECT_EQ(status, 0) << test;

  // " File size | Date       Time     | Name" rows.
  std::map<std::string, std::string> listed;
  std::istringstream lines(Shell("cabextract -l " + Quote(cab)));
  for (std::string line; std::getline(lines, line);) {
    size_t bar1 = line.find(" | "), bar2 = line.find(" | ", bar1 + 3);
    if (bar1 == std::string::npos || bar2 == std::string::npos || line.find("File size") != std::string::npos)
      continue;
    listed[line.substr(bar2 + 3)] = line.substr(0, bar2);
  }
  auto times = Times();
  ASSERT_EQ(listed.size(), expected_.size());
  for (const auto& [rel, bytes] : expected_) {
    char size[32];
    std::snprintf(size, sizeof size, "%10zu", bytes.size());
    EXPECT_EQ(listed[rel], std::string(size) + " | " + DosText(times[rel], "%.2d.%.2d.%d %.2d:%.2d:%.2d", true))
        << rel;
  }

  fs::path out = dir_.Path() / "cabextract";
  Shell("cabextract -q -d " + Quote(out) + " " + Quote(cab), &status);
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(TreeOf(out) == expected_);
  for (const auto& [rel, t] : times) EXPECT_EQ(*FileDosWriteTime(out / PathFromUtf8(rel)), t) << rel;
}

TEST_F(InteropTest, GcabListsAndExtractsOurCabinet) {
  REQUIRE_TOOL("gcab");
  fs::path cab = WriteOurs();
  // "name size yyyy-mm-dd hh:mm:ss 0xattr" rows with backslash-separated names.
  std::map<std::string, std::string> listed;
  std::istringstream lines(Shell("gcab -l " + Quote(cab)));
  for (std::string line; std::getline(lines, line);) {
    size_t sp = line.find(' ');
    if (sp != std::string::npos) listed[line.substr(0, sp)] = line.substr(sp + 1);
  }
  auto times = Times();
  ASSERT_EQ(listed.size(), expected_.size());
  for (const auto& [rel, bytes] : expected_) {
    std::string name = rel;
    std::replace(name.begin(), name.end(), '/', '\\');
    bool ascii = std::all_of(name.begin(), name.end(), [](char c) { return (c & 0x80) == 0; });
    EXPECT_EQ(listed[name], std::to_string(bytes.size()) + " " +
                                DosText(times[rel], "%d-%.2d-%.2d %.2d:%.2d:%.2d", false) + (ascii ? " 0x20" : " 0xA0"))
        << name;
  }
  fs::path out = dir_.Path() / "gcab";
  fs::create_directories(out);
  int status = -1;
  Shell("gcab -x -C " + Quote(out) + " " + Quote(cab) + " 2>&1", &status);
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(TreeOf(out) == expected_);
}

TEST_F(InteropTest, OurReaderExtractsWhatGcabWrites) {
  REQUIRE_TOOL("gcab");
  fs::path cab = dir_.Path() / "gcab.cab";
  int status = -1;
  std::string log = Shell("cd " + Quote(src_) + " && find . -type f | sed 's|^\\./||' | xargs gcab -c -z " +
                            Quote(cab) + " 2>&1",
                        &status);
  ASSERT_EQ(status, 0) << log;
  TSTCabReader reader;
  std::map<std::string, DosDateTime> entryTimes;
  reader.OnCopyFile = [&](const CabFileEntry& e, fs::path&, bool&) { entryTimes[e.name] = e.time; };
  fs::path out = dir_.Path() / "ours";
  CabExtractReport report = reader.Extract(cab, out);
  EXPECT_EQ(report.error, "");
  EXPECT_EQ(report.written, static_cast<int>(expected_.size()));
  EXPECT_TRUE(TreeOf(out) == expected_);
  auto times = Times();
  for (const auto& [rel, t] : times) {
    std::string name = rel;
    std::replace(name.begin(), name.end(), '/', '\\');
    EXPECT_EQ(entryTimes[name], t) << name;
    EXPECT_EQ(*FileDosWriteTime(out / PathFromUtf8(rel)), t) << rel;
  }
}

}  // namespace
}  // namespace ov

#endif  // _WIN32
