// Hidden, system and read-only files keep those attributes through a backup cabinet.
#include "win/platform/WinFileAttributes.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "core/backup/CabReader.h"
#include "core/backup/CabWriter.h"
#include "support/TempDir.h"

namespace ov {
namespace {

namespace fs = std::filesystem;

TEST(WinFileAttributesTest, AttributesGoIntoTheCabinetAndComeBack) {
  test::TempDir dir;
  WinFileAttributes attrs;
  // Every row keeps the archive bit: Wine reports it on every file whatever was set.
  struct Row {
    const char* name;
    uint16_t attributes;
  } rows[] = {{"plain.txt", 0x20}, {"hidden.txt", 0x22}, {"system.txt", 0x24}, {"ro.txt", 0x21}};
  for (const Row& r : rows) {
    test::WriteFile(dir.Path() / "src" / r.name, r.name);
    ASSERT_TRUE(attrs.Set(dir.Path() / "src" / r.name, r.attributes)) << r.name;
  }
  TSTCabWriter w;
  w.Attributes = &attrs;
  w.CreateCabinet(dir.Path() / "a.cab");
  w.AddFiles(dir.Path() / "src", "*.*", "", false);
  w.CloseCabinet(true);

  // Existing hidden and read-only targets are replaced as well.
  for (const Row& r : rows) {
    test::WriteFile(dir.Path() / "out" / r.name, "old");
    ASSERT_TRUE(attrs.Set(dir.Path() / "out" / r.name, 0x23));
  }
  TSTCabReader reader;
  reader.Attributes = &attrs;
  std::map<std::string, uint16_t> inCabinet;
  reader.OnCopyFile = [&](const CabFileEntry& e, fs::path&, bool&) { inCabinet[e.name] = e.attributes; };
  CabExtractReport report = reader.Extract(dir.Path() / "a.cab", dir.Path() / "out");
  EXPECT_EQ(report.error, "");
  for (const Row& r : rows) {
    EXPECT_EQ(inCabinet[r.name], r.attributes) << r.name;
    EXPECT_EQ(attrs.Get(dir.Path() / "out" / r.name), r.attributes) << r.name;
    EXPECT_EQ(test::ReadFile(dir.Path() / "out" / r.name), r.name);
    attrs.Set(dir.Path() / "out" / r.name, 0x20);
    attrs.Set(dir.Path() / "src" / r.name, 0x20);
  }
}

// A target that cannot be replaced (here: open in another program) keeps its bytes and
// its attributes; the read-only and hidden bits cleared for the replace come back.
TEST(WinFileAttributesTest, AFailedReplaceLeavesTheTargetAsItWas) {
  test::TempDir dir;
  WinFileAttributes attrs;
  TSTCabWriter w;
  w.CreateCabinet(dir.Path() / "a.cab");
  w.AddBytes("new", "note.txt", DosDateTime{0x5867, 0x4000});
  w.CloseCabinet(true);
  const fs::path target = dir.Path() / "out" / "note.txt";
  test::WriteFile(target, "old");
  ASSERT_TRUE(attrs.Set(target, 0x23));
  HANDLE held = CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  TSTCabReader reader;
  reader.Attributes = &attrs;
  CabExtractReport report = reader.Extract(dir.Path() / "a.cab", dir.Path() / "out");
  CloseHandle(held);
  EXPECT_EQ(report.failed, 1);
  EXPECT_EQ(attrs.Get(target), 0x23);
  EXPECT_EQ(test::ReadFile(target), "old");
  attrs.Set(target, 0x20);
}

}  // namespace
}  // namespace ov
