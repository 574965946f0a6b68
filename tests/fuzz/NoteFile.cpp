// Note files as they may be found on disk: any bytes, with or without the UTF-8
// byte-order mark, decoded with the ANSI code page or as UTF-8.
#include "FuzzCheck.h"
#include "core/calendar/NoteFile.h"
#include "core/platform/CodePage.h"
#include "core/util/Text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ov;
  const Latin1CodePage codePage;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  // Whatever the bytes, the text is valid UTF-8 without surrounding blanks, and saving it
  // and reading it back gives the same text (the encoding chosen is the writer's business).
  const std::string text = DecodeNoteFile(bytes, codePage);
  FUZZ_CHECK(IsValidUtf8(text));
  FUZZ_CHECK(TrimControl(text) == text);
  const std::string file = EncodeNoteFile(text, codePage);
  FUZZ_CHECK(DecodeNoteFile(file, codePage) == text);

  // The same bytes behind a byte-order mark take the UTF-8 branch.
  const std::string withBom = kUtf8Bom + std::string(bytes);
  const std::string utf8 = DecodeNoteFile(withBom, codePage);
  FUZZ_CHECK(IsValidUtf8(utf8));
  FUZZ_CHECK(DecodeNoteFile(EncodeNoteFile(utf8, codePage), codePage) == utf8);

  const std::string repaired = RepairUtf8(bytes);
  FUZZ_CHECK(IsValidUtf8(repaired));
  FUZZ_CHECK(RepairUtf8(repaired) == repaired);
  if (IsValidUtf8(bytes)) FUZZ_CHECK(repaired == bytes);

  // The code page: what it decodes is UTF-8, and that UTF-8 converts back to the bytes.
  const std::string ansi(bytes);
  const std::string wide = codePage.ToUtf8(ansi);
  FUZZ_CHECK(IsValidUtf8(wide));
  if (auto back = codePage.FromUtf8(wide)) {
    for (size_t i = 0; i < ansi.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(ansi[i]);
      // The five undefined bytes decode to U+FFFD, which has no form to go back to.
      if (c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D) FUZZ_CHECK(false);
    }
    FUZZ_CHECK(*back == ansi);
  }
  (void)codePage.FromUtf8(ansi);
  return 0;
}
