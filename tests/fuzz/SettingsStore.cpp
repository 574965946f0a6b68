// Stored settings of any kind and content (a value set by hand or by another tool):
// loaded, saved, loaded and saved again. The second save must write what the first did.
#include "FuzzCheck.h"
#include "core/platform/CodePage.h"
#include "core/settings/SettingsSchema.h"

namespace {

bool SameValue(const ov::StoredValue* a, const ov::StoredValue* b) {
  if (!a || !b) return a == b;
  return a->kind == b->kind && a->dword == b->dword && a->text == b->text && a->bytes == b->bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ov;
  fuzz::Input in(data, size);
  const Latin1CodePage codePage;
  SettingsContext ctx;
  ctx.programFolder = "C:\\Prog\\";
  ctx.now = 45000.5;

  // Each value of the table: absent, or of a kind and content the input chooses.
  MemorySettingsStore first;
  for (const SettingField& f : SettingsTable()) {
    if (in.Empty()) break;
    switch (in.Byte() % 5) {
      case 0: break;
      case 1: first.Set(f.section, f.name, StoredValue::Dword(in.U32())); break;
      case 2: first.Set(f.section, f.name, StoredValue::String(in.Bytes())); break;
      case 3: first.Set(f.section, f.name, StoredValue::Binary(in.Bytes())); break;
      default: {
        // A binary value of one of the sizes the reader looks at: a number, a date, a font.
        static const size_t sizes[] = {4, 8, 60};
        first.Set(f.section, f.name, StoredValue::Binary(in.Take(sizes[in.Byte() % 3])));
        break;
      }
    }
  }

  const Settings loaded = LoadSettings(first, ctx, codePage);
  // The registry keeps values the program reads but does not write: start from a copy.
  MemorySettingsStore second = first, third;
  FUZZ_CHECK(SaveSettings(second, loaded, codePage));
  const Settings reloaded = LoadSettings(second, ctx, codePage);
  third = second;
  FUZZ_CHECK(SaveSettings(third, reloaded, codePage));
  for (const SettingField& f : SettingsTable()) FUZZ_CHECK(SameValue(second.Get(f.section, f.name), third.Get(f.section, f.name)));
  return 0;
}
