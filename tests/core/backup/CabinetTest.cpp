#include <gtest/gtest.h>

#include "BackupTestSupport.h"
#include "core/backup/CabFormat.h"

namespace ov {
namespace {

using test::Extracted;
using test::MemorySink;
using test::ReadAll;
using test::TestBytes;
namespace fs = std::filesystem;

const DosDateTime kTime = DosFromDateTime(EncodeDateTime(2024, 3, 7, 9, 5, 33));

// Cabinet bytes with the given files, compressed one way.
std::string MakeCabinet(const std::vector<std::pair<std::string, std::string>>& files, CabCompression c,
                        uint16_t setId = 3000) {
  TSTCabWriter w;
  w.SetID = setId;
  w.Compression = c;
  w.CreateCabinet("unused.cab");
  for (const auto& [name, bytes] : files) w.AddBytes(bytes, name, kTime);
  return w.FinishToBytes();
}

// A hand-made cabinet of several folders, each a method and files stored in one block
// (the block's bytes are the files' bytes, or `fake` for methods not decoded here).
struct HandFolder {
  uint16_t method;
  std::vector<std::pair<std::string, std::string>> files;
};
std::string HandCabinet(const std::vector<HandFolder>& folders) {
  using cab::Put16;
  using cab::Put32;
  size_t nFiles = 0, filesBytes = 0;
  for (const auto& f : folders)
    for (const auto& [name, bytes] : f.files) ++nFiles, filesBytes += 16 + name.size() + 1;
  std::string blocks;
  std::vector<uint32_t> starts;
  size_t dataStart = 36 + 8 * folders.size() + filesBytes;
  for (const auto& f : folders) {
    starts.push_back(static_cast<uint32_t>(dataStart + blocks.size()));
    std::string payload;
    for (const auto& [name, bytes] : f.files) payload += bytes;
    std::string head;
    Put32(head, 0);  // no checksum
    Put16(head, static_cast<uint16_t>(payload.size()));
    Put16(head, static_cast<uint16_t>(payload.size()));
    blocks += head + payload;
  }
  std::string out;
  Put32(out, cab::kSignature);
  Put32(out, 0);
  Put32(out, static_cast<uint32_t>(dataStart + blocks.size()));
  Put32(out, 0);
  Put32(out, static_cast<uint32_t>(36 + 8 * folders.size()));
  Put32(out, 0);
  out += '\x03';
  out += '\x01';
  Put16(out, static_cast<uint16_t>(folders.size()));
  Put16(out, static_cast<uint16_t>(nFiles));
  Put16(out, 0);
  Put16(out, 3000);
  Put16(out, 0);
  for (size_t i = 0; i < folders.size(); ++i) {
    Put32(out, starts[i]);
    Put16(out, 1);
    Put16(out, folders[i].method);
  }
  for (size_t i = 0; i < folders.size(); ++i) {
    uint32_t offset = 0;
    for (const auto& [name, bytes] : folders[i].files) {
      Put32(out, static_cast<uint32_t>(bytes.size()));
      Put32(out, offset);
      Put16(out, static_cast<uint16_t>(i));
      Put16(out, kTime.date);
      Put16(out, kTime.time);
      Put16(out, cab::kAttrArchive);
      out += name;
      out += '\0';
      offset += static_cast<uint32_t>(bytes.size());
    }
  }
  return out + blocks;
}

TEST(CabFormatTest, ChecksumFoldsWordsAndTakesTheTailHighByteFirst) {
  const uint8_t data[] = {0x01, 0x02, 0x03, 0x04, 0x10, 0x20, 0x30};
  EXPECT_EQ(cab::Checksum(data, 4, 0), 0x04030201u);
  EXPECT_EQ(cab::Checksum(data, 7, 0), 0x04030201u ^ 0x00102030u);
  EXPECT_EQ(cab::Checksum(data, 5, 0xFFu), 0x04030201u ^ 0x10u ^ 0xFFu);
}

TEST(CabFormatTest, DosTimesHaveTwoSecondStepsAndHoldTheirRange) {
  struct Row {
    double in;
    double out;
  } rows[] = {
      {EncodeDateTime(2024, 3, 7, 9, 5, 33), EncodeDateTime(2024, 3, 7, 9, 5, 32)},
      {EncodeDateTime(2024, 3, 7, 9, 5, 32, 999), EncodeDateTime(2024, 3, 7, 9, 5, 32)},
      {EncodeDateTime(2024, 12, 31, 23, 59, 59), EncodeDateTime(2024, 12, 31, 23, 59, 58)},
      {EncodeDateTime(1970, 5, 1, 12, 0, 0), EncodeDateTime(1980, 1, 1, 0, 0, 0)},
      {EncodeDateTime(2200, 1, 1, 0, 0, 0), EncodeDateTime(2107, 12, 31, 23, 59, 58)},
  };
  for (const Row& r : rows) EXPECT_DOUBLE_EQ(DateTimeFromDos(DosFromDateTime(r.in)), r.out) << r.in;
  EXPECT_EQ(kTime.date, ((2024 - 1980) << 9) | (3 << 5) | 7);
  EXPECT_EQ(kTime.time, (9 << 11) | (5 << 5) | 16);
  // Any bytes read from a file give some date.
  EXPECT_GT(DateTimeFromDos({0xFFFF, 0xFFFF}), 0);
  EXPECT_GT(DateTimeFromDos({0, 0}), 0);
}

TEST(CabFormatTest, ErrorMessagesEndWithTheCodeInFourHexDigits) {
  EXPECT_STREQ(ESTCabinet(CabWriteError::OpenSource, "x.txt").what(),
               "Failure opening file to be stored in cabinet: x.txt [0x0001]");
  EXPECT_EQ(ESTCabinet(0x1234, "Text").what(), std::string("Text [0x1234]"));
}

TEST(CabinetTest, EveryFileComesBackWithBytesTimeAndAttributesInBothMethods) {
  std::vector<std::pair<std::string, std::string>> files = {
      {"Entries\\Codes2024.dat", std::string(1480, '\0')},
      {"empty.txt", ""},
      {"one.txt", "x"},
      {"Entries\\默认\\Notes\\2024\\Notes_2024-03-07.txt", "[EOHDR]\r\n你好\r\n"},
      {"block-1.bin", TestBytes(32767, 1, false)},
      {"block.bin", TestBytes(32768, 2, true)},
      {"block+1.bin", TestBytes(32769, 3, false)},
      {"big.txt", TestBytes(300000, 4, true)},
  };
  for (CabCompression c : {CabCompression::MsZip, CabCompression::None}) {
    std::string bytes = MakeCabinet(files, c);
    MemorySink sink;
    CabDirectory dir;
    CabExtractReport report = ReadAll(bytes, sink, &dir);
    EXPECT_EQ(report.error, "");
    EXPECT_EQ(report.written, static_cast<int>(files.size()));
    EXPECT_EQ(dir.header.setId, 3000);
    EXPECT_EQ(dir.folders.size(), 1u);
    for (const auto& [name, content] : files) {
      const Extracted& x = sink.files[name];
      EXPECT_TRUE(x.ok) << name;
      EXPECT_EQ(x.bytes, content) << name;
      EXPECT_EQ(x.time, kTime) << name;
      bool ascii = std::all_of(name.begin(), name.end(), [](char ch) { return (ch & 0x80) == 0; });
      EXPECT_EQ(x.attributes, ascii ? cab::kAttrArchive : cab::kAttrArchive | cab::kAttrNameIsUtf8) << name;
    }
    if (c == CabCompression::MsZip) {
      EXPECT_LT(bytes.size(), 250000u);
    }
  }
}

TEST(CabinetTest, MszipBlocksCarryTheirHistoryAndEndOnAByteBoundary) {
  // The same 20 KiB twice: the second block compresses to almost nothing only when it
  // may refer back into the first.
  std::string half = TestBytes(20000, 9, false);
  std::string bytes = MakeCabinet({{"twice.bin", half + half + half + half}}, CabCompression::MsZip);
  EXPECT_LT(bytes.size(), 20000u + 2000u);
  MemorySink sink;
  ReadAll(bytes, sink);
  EXPECT_EQ(sink.files["twice.bin"].bytes, half + half + half + half);
}

TEST(CabinetTest, DamagedDataFailsOnlyTheFilesItHolds) {
  std::string a = TestBytes(40000, 5, false), b = TestBytes(100, 6, true);
  std::string bytes = MakeCabinet({{"a.bin", a}, {"b.txt", b}}, CabCompression::MsZip);
  MemorySink intact;
  ReadAll(bytes, intact);
  ASSERT_TRUE(intact.files["b.txt"].ok);
  // A flipped byte in the last block: its checksum no longer holds.
  std::string damaged = bytes;
  damaged[damaged.size() - 10] ^= 0x40;
  MemorySink sink;
  CabExtractReport report = ReadAll(damaged, sink);
  EXPECT_TRUE(sink.files["a.bin"].ok == false || sink.files["a.bin"].bytes == a);
  EXPECT_FALSE(sink.files["b.txt"].ok);
  EXPECT_EQ(report.firstError, CabReadError::Corrupt);
  EXPECT_NE(report.error.find("checksum"), std::string::npos) << report.error;
  EXPECT_NE(report.error.find(" [0x0004]"), std::string::npos) << report.error;
}

TEST(CabinetTest, SeveralFoldersAreReadAndLzxOrQuantumAreNamedAsUnsupported) {
  std::string bytes = HandCabinet({
      {cab::kCompressNone, {{"one.txt", "first folder"}, {"two.txt", "more"}}},
      {cab::kCompressLzx | (21 << 8), {{"lzx.bin", "not really LZX"}}},
      {cab::kCompressQuantum, {{"q.bin", "nor Quantum"}}},
      {cab::kCompressNone, {{"three.txt", "last folder"}}},
  });
  MemorySink sink;
  CabDirectory dir;
  CabExtractReport report = ReadAll(bytes, sink, &dir);
  EXPECT_EQ(dir.folders.size(), 4u);
  EXPECT_EQ(sink.files["one.txt"].bytes, "first folder");
  EXPECT_EQ(sink.files["two.txt"].bytes, "more");
  EXPECT_EQ(sink.files["three.txt"].bytes, "last folder");
  EXPECT_FALSE(sink.files["lzx.bin"].ok);
  EXPECT_FALSE(sink.files["q.bin"].ok);
  EXPECT_EQ(report.written, 3);
  EXPECT_EQ(report.failed, 2);
  EXPECT_EQ(report.firstError, CabReadError::BadCompressionType);
  EXPECT_NE(report.error.find("LZX"), std::string::npos) << report.error;
}

TEST(CabinetTest, HeadersThatAreNoCabinetOrCutShortAreRecognised) {
  std::string good = MakeCabinet({{"a.txt", "abc"}}, CabCompression::MsZip);
  CabDirectory dir;
  auto read = [&](const std::string& s) {
    MemoryCabSource src(s.data(), s.size());
    return ReadCabDirectory(src, dir);
  };
  EXPECT_EQ(read(good), CabReadError::None);
  EXPECT_EQ(read("[EOHDR]\r\nnot a cabinet"), CabReadError::NotACabinet);
  EXPECT_EQ(read(good.substr(0, 20)), CabReadError::NotACabinet);
  EXPECT_EQ(read(good.substr(0, 40)), CabReadError::Corrupt);
  std::string v2 = good;
  v2[25] = 2;
  EXPECT_EQ(read(v2), CabReadError::UnknownVersion);
}

TEST(CabinetTest, AnEmptyMszipBlockIsReadWithoutTouchingMemory) {
  // Found by the fuzzer: one MSZIP folder whose only block holds "CK" and claims no bytes;
  // the file in it is one byte long, so it fails, and nothing is copied to or from nowhere.
  const unsigned char input[] = {
      0x4d, 0x53, 0x43, 0x46, 0, 0, 0, 0, 0x4f, 0, 0, 0, 0, 0, 0, 0, 0x2c, 0, 0, 0, 0, 0, 0, 0, 3, 1, 1, 0,
      1, 0, 0, 0, 0xb8, 0x0b, 0, 0, 0x42, 0, 0, 0, 1, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x67, 0x58,
      0xb0, 0x48, 0x20, 0, 0x61, 0x2e, 0x74, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0x43, 0x4b, 0x4b, 4, 0};
  MemorySink sink;
  CabDirectory dir;
  CabExtractReport report = ReadAll(std::string(reinterpret_cast<const char*>(input), sizeof input), sink, &dir);
  ASSERT_EQ(dir.folders.size(), 1u);
  EXPECT_FALSE(sink.files["a.t"].ok);
  EXPECT_EQ(report.written, 0);
}

TEST(CabinetTest, UnsafeNamesHaveNoPathBelowTheDestination) {
  for (const char* bad : {"", "\\abs.txt", "/etc/passwd", "C:\\x.txt", "c:x.txt", "..\\evil.txt", "a\\..\\..\\b.txt",
                          "a\\.\\b", "a\\\\b", "a\\.. \\b", "dir.\\x", "CON", "nul.txt", "Com1.log", "a\\lpt9\\b",
                          "x:stream", "q?.txt", "tab\there", "a/../../b", "COM¹", "com².txt", "Entries\\LPT³",
                          "lpt¹.log.txt"}) {
    EXPECT_EQ(SafeRelativePath(bad), std::nullopt) << bad;
  }
  EXPECT_EQ(SafeRelativePath("Entries\\默认\\Notes\\2024\\Notes_2024-03-07.txt"),
            fs::path("Entries") / PathFromUtf8("默认") / "Notes" / "2024" / "Notes_2024-03-07.txt");
  EXPECT_EQ(SafeRelativePath("ImageCRC/CRC_0badf00d.ini"), fs::path("ImageCRC") / "CRC_0badf00d.ini");
  EXPECT_EQ(SafeRelativePath("console.txt"), fs::path("console.txt"));
  EXPECT_EQ(SafeRelativePath("..a"), fs::path("..a"));
  // Only the superscripts one to three stand for port numbers.
  EXPECT_EQ(SafeRelativePath("COM⁴.txt"), PathFromUtf8("COM⁴.txt"));
  EXPECT_EQ(SafeRelativePath("com12"), fs::path("com12"));
}

TEST(CabinetTest, WildcardsMatchLikeAFolderListing) {
  struct Row {
    const char* name;
    const char* pattern;
    bool match;
  } rows[] = {{"Notes_2024.txt", "*.*", true}, {"noext", "*.*", true},      {"a.TXT", "*.txt", true},
              {"a.txt.bak", "*.txt", false},   {"Codes2024.dat", "Codes????.dat", true},
              {"Codes24.dat", "Codes????.dat", false}, {"abc", "a*c", true}, {"abcd", "a*c", false}};
  for (const Row& r : rows) EXPECT_EQ(MatchesPattern(r.name, r.pattern), r.match) << r.name << " " << r.pattern;
}

TEST(CabinetTest, ReadOnlyTargetsAreReplacedUnlessTheReaderIsToldNot) {
  test::TempDir dir;
  TSTCabWriter w;
  w.CreateCabinet(dir.Path() / "ro.cab");
  w.AddBytes("new", "ro.txt", kTime, cab::kAttrArchive | cab::kAttrReadOnly);
  w.CloseCabinet(true);
  fs::path target = dir.Path() / "out" / "ro.txt";
  auto writable = [&] { return (fs::status(target).permissions() & fs::perms::owner_write) != fs::perms::none; };
  test::WriteFile(target, "old");
  fs::permissions(target, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  TSTCabReader careful;
  careful.DontOverwriteReadOnlyFiles = true;
  EXPECT_EQ(careful.Extract(dir.Path() / "ro.cab", dir.Path() / "out").written, 0);
  EXPECT_EQ(test::ReadFile(target), "old");
  TSTCabReader reader;
  EXPECT_EQ(reader.Extract(dir.Path() / "ro.cab", dir.Path() / "out").written, 1);
  EXPECT_EQ(test::ReadFile(target), "new");
  EXPECT_FALSE(writable());
  EXPECT_EQ(*FileDosWriteTime(target), kTime);
  fs::permissions(target, fs::perms::owner_write, fs::perm_options::add);
}

// A target that already holds the entry's bytes is kept (a second hard link to it stays
// linked); any difference, wherever it is, gives the entry's bytes. Either way the file
// ends with the entry's time.
TEST(CabinetTest, ATargetIsRewrittenOnlyWhereItDiffers) {
  const std::string big = TestBytes(100000, 7, false);  // spans several data blocks
  auto flipped = [&](size_t at) {
    std::string s = big;
    s[at] = static_cast<char>(s[at] ^ 0x5A);
    return s;
  };
  struct Case {
    const char* what;
    std::string current;
    bool kept;
  } cases[] = {
      {"the same bytes", big, true},
      {"the first byte differs", flipped(0), false},
      {"a byte in a later block differs", flipped(70000), false},
      {"the last byte differs", flipped(big.size() - 1), false},
      {"shorter", big.substr(0, 5000), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempDir dir;
    TSTCabWriter w;
    w.CreateCabinet(dir.Path() / "b.cab");
    w.AddBytes(big, "Entries/n.txt", kTime);
    w.CloseCabinet(true);
    const fs::path target = dir.Path() / "out" / "Entries" / "n.txt", link = dir.Path() / "link.txt";
    test::WriteFile(target, c.current);
    fs::create_hard_link(target, link);
    // The C runtime on Windows reports one link for every file; there only the bytes and
    // the time are checked.
    const bool linksCounted = fs::hard_link_count(target) == 2;
    TSTCabReader reader;
    EXPECT_EQ(reader.Extract(dir.Path() / "b.cab", dir.Path() / "out").written, 1);
    EXPECT_TRUE(test::ReadFile(target) == big);
    if (linksCounted) {
      EXPECT_EQ(fs::hard_link_count(target), c.kept ? 2u : 1u);
    }
    EXPECT_EQ(*FileDosWriteTime(target), kTime);
    EXPECT_EQ(test::TreeOf(dir.Path() / "out").size(), 1u) << "a temporary was left behind";
  }
}

TEST(CabinetTest, WriterRefusesWhatTheFormatCannotHold) {
  TSTCabWriter w;
  w.CreateCabinet("unused.cab");
  EXPECT_THROW(w.AddBytes("x", std::string(256, 'n'), kTime), ESTCabinet);
  EXPECT_THROW(w.AddBytes("x", "\\", kTime), ESTCabinet);
  try {
    w.AddFile("/no/such/file/anywhere.txt", "a.txt");
    ADD_FAILURE() << "no error for a missing file";
  } catch (const ESTCabinet& e) {
    EXPECT_EQ(e.Code(), 1);
    EXPECT_NE(std::string(e.what()).find(" [0x0001]"), std::string::npos);
  }
}

}  // namespace
}  // namespace ov
