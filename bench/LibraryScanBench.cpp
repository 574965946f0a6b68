// Scanning the picture library: a tree of 5,000 files in 50 folders two levels deep,
// four pictures in five (the rest other files), from a warm cache. The scan reads only
// directory entries. Target: under 200 ms.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/library/ImageLibrary.h"

namespace {

namespace fs = std::filesystem;
using namespace ov;

class LibraryTree {
 public:
  LibraryTree() {
    std::random_device rd;
    root_ = fs::temp_directory_path() / ("ov-bench-library-" + std::to_string(rd()));
    const char* kinds[] = {".jpg", ".png", ".JPG", ".bmp", ".txt"};
    int n = 0;
    for (int a = 0; a < 10; ++a) {
      for (int b = 0; b < 5; ++b) {
        fs::path folder = root_ / ("album " + std::to_string(a)) / ("day " + std::to_string(b));
        fs::create_directories(folder);
        for (int i = 0; i < 100; ++i, ++n) {
          std::ofstream(folder / ("photo " + std::to_string(n) + kinds[n % 5])) << "x";
        }
      }
    }
  }
  ~LibraryTree() {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  const fs::path& Root() const { return root_; }

 private:
  fs::path root_;
};

void BM_ScanLibrary5000Files(benchmark::State& state) {
  static LibraryTree tree;
  std::vector<TImageItem> items;
  ScanImageFolder(tree.Root(), items);  // warms the cache
  for (auto _ : state) {
    items.clear();
    ScanImageFolder(tree.Root(), items);
    benchmark::DoNotOptimize(items.data());
  }
  state.counters["pictures"] = static_cast<double>(items.size());
}
BENCHMARK(BM_ScanLibrary5000Files)->Unit(benchmark::kMillisecond);

}  // namespace
