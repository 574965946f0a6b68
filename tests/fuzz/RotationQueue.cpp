// The rotation queue file "Rotation.txt" of any content: every entry read is a non-empty
// line of valid UTF-8, and writing the queue and reading it back gives the same queue.
#include <algorithm>

#include "FuzzCheck.h"
#include "core/calendar/NoteFile.h"
#include "core/library/RotationQueue.h"
#include "core/util/Text.h"

namespace {

// Draws from the input, so the fuzzer steers the shuffle.
class InputRandom final : public ov::IRandom {
 public:
  explicit InputRandom(ov::fuzz::Input& in) : in_(in) {}
  size_t Below(size_t n) override { return in_.U32() % n; }

 private:
  ov::fuzz::Input& in_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ov;
  const Latin1CodePage codePage;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  for (const std::string& file : {std::string(bytes), kUtf8Bom + std::string(bytes)}) {
    const std::vector<std::string> queue = ParseRotationFile(file, codePage);
    for (const std::string& entry : queue) {
      FUZZ_CHECK(!entry.empty());
      FUZZ_CHECK(IsValidUtf8(entry));
      FUZZ_CHECK(entry.find_first_of("\r\n") == std::string::npos);
    }
    FUZZ_CHECK(ParseRotationFile(FormatRotationFile(queue, codePage), codePage) == queue);

    // The shuffle only reorders.
    fuzz::Input in(data, size);
    InputRandom random(in);
    std::vector<std::string> shuffled = queue;
    Shuffle(shuffled, random);
    std::vector<std::string> a = queue, b = shuffled;
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    FUZZ_CHECK(a == b);
  }
  return 0;
}
