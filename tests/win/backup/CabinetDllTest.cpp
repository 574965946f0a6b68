// The system cabinet library and this program's cabinets understand each other: FDI
// extracts what TSTCabWriter writes, and TSTCabReader reads what FCI writes with MSZIP.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <fci.h>
#include <fdi.h>
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>
#include <string>

#include "core/backup/CabReader.h"
#include "core/backup/CabWriter.h"
#include "core/backup/FileTimes.h"
#include "core/calendar/DateTime.h"
#include "core/util/Paths.h"
#include "support/TempDir.h"

namespace ov {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;

const DosDateTime kTime = DosFromDateTime(EncodeDateTime(2024, 3, 7, 9, 5, 32));

std::string Noise(size_t n) {
  std::mt19937 rng(5);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(rng());
  return s;
}

const std::map<std::string, std::string>& Files() {
  static const std::map<std::string, std::string> files = {
      {"Entries\\Default\\Notes\\2024\\Notes_2024-03-07.txt", "[EOHDR]\r\nlunch\r\n"},
      {"Entries\\Codes2024.dat", std::string(1480, '\x02')},
      {"Entries\\empty.txt", ""},
      {"ImageCRC\\noise.bin", Noise(100000)},
  };
  return files;
}

// The library's functions, looked up by name as the program would bind them.
class CabinetDll {
 public:
  CabinetDll() : module_(LoadLibraryW(L"cabinet.dll")) {}
  ~CabinetDll() {
    if (module_) FreeLibrary(module_);
  }
  bool Loaded() const { return module_ != nullptr; }
  template <typename F>
  F Get(const char* name) const {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

 private:
  HMODULE module_;
};

// Plain C runtime file callbacks for both interfaces.
FNALLOC(MemAlloc) { return std::malloc(cb); }
FNFREE(MemFree) { std::free(pv); }
FNOPEN(FdiOpen) { return _open(pszFile, oflag, pmode); }
FNREAD(FdiRead) { return static_cast<UINT>(_read(static_cast<int>(hf), pv, cb)); }
FNWRITE(FdiWrite) { return static_cast<UINT>(_write(static_cast<int>(hf), pv, cb)); }
FNCLOSE(FdiClose) { return _close(static_cast<int>(hf)); }
FNSEEK(FdiSeek) { return _lseek(static_cast<int>(hf), dist, seektype); }

struct FdiContext {
  std::string folder;  // where extracted files go, flattened to one folder
  std::map<std::string, std::pair<USHORT, USHORT>> times;
};

FNFDINOTIFY(FdiNotify) {
  auto* ctx = static_cast<FdiContext*>(pfdin->pv);
  if (fdint == fdintCOPY_FILE) {
    std::string flat = pfdin->psz1;
    for (char& c : flat)
      if (c == '\\') c = '_';
    return _open((ctx->folder + "\\" + flat).c_str(), _O_BINARY | _O_CREAT | _O_WRONLY | _O_TRUNC,
                 _S_IREAD | _S_IWRITE);
  }
  if (fdint == fdintCLOSE_FILE_INFO) {
    _close(static_cast<int>(pfdin->hf));
    ctx->times[pfdin->psz1] = {pfdin->date, pfdin->time};
    return TRUE;
  }
  return 0;
}

TEST(CabinetDllTest, SystemLibraryExtractsOurCabinet) {
  CabinetDll dll;
  ASSERT_TRUE(dll.Loaded());
  auto create = dll.Get<decltype(&FDICreate)>("FDICreate");
  auto isCabinet = dll.Get<decltype(&FDIIsCabinet)>("FDIIsCabinet");
  auto copy = dll.Get<decltype(&FDICopy)>("FDICopy");
  auto destroy = dll.Get<decltype(&FDIDestroy)>("FDIDestroy");
  ASSERT_TRUE(create && isCabinet && copy && destroy);

  TempDir dir;
  std::string folder = PathToUtf8(dir.Path());
  TSTCabWriter w;
  w.SetID = 3000;
  w.CreateCabinet(dir.Path() / "ours.cab");
  for (const auto& [name, bytes] : Files()) w.AddBytes(bytes, name, kTime);
  w.CloseCabinet(true);

  ERF erf{};
  HFDI fdi = create(MemAlloc, MemFree, FdiOpen, FdiRead, FdiWrite, FdiClose, FdiSeek, cpuUNKNOWN, &erf);
  ASSERT_NE(fdi, nullptr);
  INT_PTR hf = _open((folder + "\\ours.cab").c_str(), _O_BINARY | _O_RDONLY);
  FDICABINETINFO info{};
  EXPECT_TRUE(isCabinet(fdi, hf, &info));
  _close(static_cast<int>(hf));
  EXPECT_EQ(info.setID, 3000);
  EXPECT_EQ(info.cFolders, 1);
  EXPECT_EQ(info.cFiles, 4);

  fs::create_directories(dir.Path() / "out");
  FdiContext ctx{folder + "\\out", {}};
  std::string cabName = "ours.cab", cabPath = folder + "\\";
  EXPECT_TRUE(copy(fdi, cabName.data(), cabPath.data(), 0, FdiNotify, nullptr, &ctx)) << erf.erfOper;
  destroy(fdi);
  for (const auto& [name, bytes] : Files()) {
    std::string flat = name;
    for (char& c : flat)
      if (c == '\\') c = '_';
    EXPECT_EQ(ReadFile(dir.Path() / "out" / flat), bytes) << name;
    EXPECT_EQ(ctx.times[name].first, kTime.date) << name;
    EXPECT_EQ(ctx.times[name].second, kTime.time) << name;
  }
}

// FCI callbacks; temporary files are numbered in the test's folder.
struct FciContext {
  std::string folder;
  int temps = 0;
};
FNFCIFILEPLACED(FciPlaced) { return 0; }
FNFCIALLOC(FciAlloc) { return std::malloc(cb); }
FNFCIFREE(FciFree) { std::free(memory); }
FNFCIOPEN(FciOpen) {
  int h = _open(pszFile, oflag, pmode);
  if (h == -1) *err = errno;
  return h;
}
FNFCIREAD(FciRead) { return static_cast<UINT>(_read(static_cast<int>(hf), memory, cb)); }
FNFCIWRITE(FciWrite) { return static_cast<UINT>(_write(static_cast<int>(hf), memory, cb)); }
FNFCICLOSE(FciClose) { return _close(static_cast<int>(hf)); }
FNFCISEEK(FciSeek) { return _lseek(static_cast<int>(hf), dist, seektype); }
FNFCIDELETE(FciDelete) { return _unlink(pszFile); }
FNFCIGETTEMPFILE(FciTemp) {
  auto* ctx = static_cast<FciContext*>(pv);
  std::string name = ctx->folder + "\\fci" + std::to_string(ctx->temps++) + ".tmp";
  if (static_cast<int>(name.size()) >= cbTempName) return FALSE;
  std::strcpy(pszTempName, name.c_str());
  return TRUE;
}
FNFCIGETNEXTCABINET(FciNext) { return TRUE; }
FNFCISTATUS(FciStatus) { return 0; }
FNFCIGETOPENINFO(FciOpenInfo) {
  *pdate = kTime.date;
  *ptime = kTime.time;
  *pattribs = _A_ARCH;
  int h = _open(pszName, _O_BINARY | _O_RDONLY);
  if (h == -1) *err = errno;
  return h;
}

TEST(CabinetDllTest, OurReaderReadsWhatTheSystemLibraryWrites) {
  CabinetDll dll;
  ASSERT_TRUE(dll.Loaded());
  auto create = dll.Get<decltype(&FCICreate)>("FCICreate");
  auto add = dll.Get<decltype(&FCIAddFile)>("FCIAddFile");
  auto flush = dll.Get<decltype(&FCIFlushCabinet)>("FCIFlushCabinet");
  auto destroy = dll.Get<decltype(&FCIDestroy)>("FCIDestroy");
  ASSERT_TRUE(create && add && flush && destroy);

  TempDir dir;
  FciContext ctx{PathToUtf8(dir.Path()), 0};
  int n = 0;
  std::map<std::string, std::string> sources;
  for (const auto& [name, bytes] : Files()) {
    std::string src = ctx.folder + "\\src" + std::to_string(n++);
    test::WriteFile(PathFromUtf8(src), bytes);
    sources[name] = src;
  }
  CCAB ccab{};
  ccab.cb = 0x7FFFFFFF;
  ccab.cbFolderThresh = 0x7FFFFFFF;
  ccab.setID = 3000;
  std::strcpy(ccab.szCabPath, (ctx.folder + "\\").c_str());
  std::strcpy(ccab.szCab, "fci.cab");
  ERF erf{};
  HFCI fci = create(&erf, FciPlaced, FciAlloc, FciFree, FciOpen, FciRead, FciWrite, FciClose, FciSeek, FciDelete,
                    FciTemp, &ccab, &ctx);
  ASSERT_NE(fci, nullptr) << erf.erfOper;
  for (auto& [name, src] : sources) {
    std::string inCab = name;
    EXPECT_TRUE(add(fci, src.data(), inCab.data(), FALSE, FciNext, FciStatus, FciOpenInfo, tcompTYPE_MSZIP))
        << name << " " << erf.erfOper;
  }
  EXPECT_TRUE(flush(fci, FALSE, FciNext, FciStatus)) << erf.erfOper;
  destroy(fci);

  TSTCabReader reader;
  CabHeader header;
  ASSERT_TRUE(reader.CabinetInfo(dir.Path() / "fci.cab", header));
  EXPECT_EQ(header.setId, 3000);
  reader.OnCopyFile = [&](const CabFileEntry& e, fs::path&, bool&) {
    EXPECT_EQ(e.time, kTime) << e.name;
  };
  CabExtractReport report = reader.Extract(dir.Path() / "fci.cab", dir.Path() / "out");
  EXPECT_EQ(report.error, "");
  EXPECT_EQ(report.written, 4);
  for (const auto& [name, bytes] : Files()) {
    std::string rel = name;
    for (char& c : rel)
      if (c == '\\') c = '/';
    EXPECT_EQ(ReadFile(dir.Path() / "out" / PathFromUtf8(rel)), bytes) << name;
  }
  // The cabinet really is MSZIP: its first folder says so.
  std::string bytes = ReadFile(dir.Path() / "fci.cab");
  ASSERT_GT(bytes.size(), 44u);
  EXPECT_EQ(static_cast<uint8_t>(bytes[36 + 6]) & 0x0F, 1);
}

}  // namespace
}  // namespace ov
