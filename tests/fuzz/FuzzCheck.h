#pragma once
// What the fuzz programs share: a check that stops the run with a message when a property
// of a reader or writer does not hold (libFuzzer then keeps the input), and a reader of
// the fuzz input as a stream of small numbers and byte strings.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#define FUZZ_CHECK(cond)                                                              \
  do {                                                                                \
    if (!(cond)) {                                                                    \
      std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                                   \
    }                                                                                 \
  } while (0)

namespace ov::fuzz {

class Input {
 public:
  Input(const uint8_t* data, size_t size) : b_(reinterpret_cast<const char*>(data), size) {}
  bool Empty() const { return b_.empty(); }
  uint8_t Byte() {
    if (b_.empty()) return 0;
    uint8_t v = static_cast<uint8_t>(b_[0]);
    b_.remove_prefix(1);
    return v;
  }
  uint32_t U32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t(Byte()) << (8 * i);
    return v;
  }
  // A byte string of a length the input chooses (one length byte, at most 255 bytes).
  std::string Bytes() { return Take(Byte()); }
  std::string Take(size_t n) {
    n = n < b_.size() ? n : b_.size();
    std::string s(b_.substr(0, n));
    b_.remove_prefix(n);
    return s;
  }
  std::string Rest() { return Take(b_.size()); }

 private:
  std::string_view b_;
};

}  // namespace ov::fuzz
