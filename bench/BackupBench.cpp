// Backups of 10,000 notes: writing the cabinet against `gcab -c -z` on the same tree, and
// reading it back against `cabextract`. The tools run as processes (their start-up is
// part of their time); the counters give each cabinet's size. A missing tool skips its
// benchmark with a message.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "core/backup/CabReader.h"
#include "core/backup/CabWriter.h"

namespace {

namespace fs = std::filesystem;
using namespace ov;

constexpr int kNotes = 10000;

// A data folder with 10,000 notes of 20 to 200 bytes in three sections, by year.
class NoteTree {
 public:
  NoteTree() {
    std::random_device rd;
    root_ = fs::temp_directory_path() / ("ov-backup-bench-" + std::to_string(rd()));
    std::mt19937 rng(42);
    const char* sections[] = {"Default", "Family", "Business"};
    const char* words[] = {"meeting", "call", "lunch", "report", "dentist", "train", "birthday", "review"};
    for (int i = 0; i < kNotes; ++i) {
      fs::path dir = root_ / "Entries" / sections[i % 3] / "Notes" / std::to_string(2000 + i / 1000);
      fs::create_directories(dir);
      std::string text = "[EOHDR]\r\n";
      int n = 2 + static_cast<int>(rng() % 25);
      for (int w = 0; w < n; ++w) text += std::string(words[rng() % 8]) + (w % 6 == 5 ? "\r\n" : " ");
      text += "\r\n";
      noteBytes_ += text.size();
      std::ofstream(dir / ("Notes_" + std::to_string(i) + ".txt"), std::ios::binary) << text;
    }
  }
  ~NoteTree() {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  const fs::path& Root() const { return root_; }
  uint64_t NoteBytes() const { return noteBytes_; }

 private:
  fs::path root_;
  uint64_t noteBytes_ = 0;
};

NoteTree& Tree() {
  static NoteTree tree;
  return tree;
}

bool HaveTool(const char* name) {
  return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

fs::path OurCabinet() { return Tree().Root() / "ours.cab"; }
fs::path GcabCabinet() { return Tree().Root() / "gcab.cab"; }

void WriteOurs() {
  TSTCabWriter w;
  w.SetID = 3000;
  w.CreateCabinet(OurCabinet());
  w.AddFiles(Tree().Root() / "Entries", "*.*", "Entries", true);
  w.CloseCabinet(true);
}

void BM_WriteBackup(benchmark::State& state) {
  for (auto _ : state) WriteOurs();
  state.counters["cab_bytes"] = static_cast<double>(fs::file_size(OurCabinet()));
  state.counters["note_bytes"] = static_cast<double>(Tree().NoteBytes());
  state.counters["files"] = kNotes;
}
BENCHMARK(BM_WriteBackup)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GcabWrite(benchmark::State& state) {
  if (!HaveTool("gcab")) return state.SkipWithError("gcab is not installed");
  std::string cmd = "cd '" + Tree().Root().string() + "' && rm -f gcab.cab && gcab -c -z gcab.cab Entries";
  for (auto _ : state)
    if (std::system(cmd.c_str()) != 0) return state.SkipWithError("gcab failed");
  state.counters["cab_bytes"] = static_cast<double>(fs::file_size(GcabCabinet()));
}
BENCHMARK(BM_GcabWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadBackup(benchmark::State& state) {
  WriteOurs();
  fs::path out = Tree().Root() / "read-ours";
  for (auto _ : state) {
    TSTCabReader reader;
    CabExtractReport r = reader.Extract(OurCabinet(), out);
    if (r.written != kNotes) return state.SkipWithError("not every note was read");
  }
}
BENCHMARK(BM_ReadBackup)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CabextractRead(benchmark::State& state) {
  if (!HaveTool("cabextract")) return state.SkipWithError("cabextract is not installed");
  WriteOurs();
  std::string cmd = "cabextract -q -d '" + (Tree().Root() / "read-cabextract").string() + "' '" +
                    OurCabinet().string() + "'";
  for (auto _ : state)
    if (std::system(cmd.c_str()) != 0) return state.SkipWithError("cabextract failed");
}
BENCHMARK(BM_CabextractRead)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
