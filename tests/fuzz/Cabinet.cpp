// libFuzzer target of the cabinet reader: any bytes are read as a cabinet and every file
// decoded into memory. Built and run by scripts/fuzz.sh.
#include <cstddef>
#include <cstdint>

#include "core/backup/CabReader.h"

namespace {

class DiscardSink final : public ov::ICabSink {
 public:
  bool Begin(const ov::CabFileEntry& e, bool&) override {
    // The name check runs on every name, as the restore does before writing.
    (void)ov::SafeRelativePath(e.name);
    return true;
  }
  bool Write(const uint8_t* data, size_t n) override {
    for (size_t i = 0; i < n; ++i) sum_ += data[i];
    return true;
  }
  bool End(const ov::CabFileEntry&, bool ok) override { return ok; }

 private:
  unsigned sum_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ov::MemoryCabSource src(data, size);
  ov::CabDirectory dir;
  if (ov::ReadCabDirectory(src, dir) != ov::CabReadError::None) return 0;
  DiscardSink sink;
  ov::ExtractCabinet(src, dir, sink);
  return 0;
}
