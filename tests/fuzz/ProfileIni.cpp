// Picture-property files and the ini reader under them: any bytes, in every encoding the
// reader recognises, read as properties, written back and read again.
#include <cmath>

#include "FuzzCheck.h"
#include "core/images/ImageProps.h"
#include "core/images/ProfileIni.h"
#include "core/platform/CodePage.h"
#include "core/util/Text.h"

namespace {

bool SameProps(const ov::TImageProps& a, const ov::TImageProps& b) {
  if (std::isnan(a.Gamma) || std::isnan(b.Gamma)) {
    ov::TImageProps x = a, y = b;
    x.Gamma = y.Gamma = 0;
    return x == y && std::isnan(a.Gamma) == std::isnan(b.Gamma);
  }
  return a == b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ov;
  const Latin1CodePage codePage;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  for (const ICodePage* cp : {static_cast<const ICodePage*>(&codePage), static_cast<const ICodePage*>(nullptr)}) {
    // Writing what was read and reading it again changes nothing: no line is lost or
    // altered by a second pass, and every value reads the same.
    const ProfileIni ini = ProfileIni::Parse(bytes, cp);
    const std::string once = ini.Serialize(cp);
    const ProfileIni again = ProfileIni::Parse(once, cp);
    FUZZ_CHECK(again.Serialize(cp) == once);
    for (const char* section : {"Misc", "Size", "Color"})
      for (const char* key : {"Ver", "Magnify", "Gamma", "Red", "stretch2"}) {
        FUZZ_CHECK(ini.Get(section, key) == again.Get(section, key));
        FUZZ_CHECK(ini.HasSection(section) == again.HasSection(section));
      }

    for (char sep : {'.', ','}) {
      // The properties survive being saved into the same file and read back.
      const TImageProps props = ImagePropsFromIni(ini, sep);
      ProfileIni saved = ini;
      ImagePropsToIni(props, saved, sep);
      const TImageProps back = ImagePropsFromIni(ProfileIni::Parse(saved.Serialize(cp), cp), sep);
      FUZZ_CHECK(SameProps(props, back));

      const TImageProps working = WorkingImageProps(props);
      FUZZ_CHECK(working.Zoom >= kMinWorkingZoom && working.Zoom <= kMaxWorkingZoom);
      FUZZ_CHECK(std::isfinite(working.Gamma) && std::fabs(working.Gamma) <= kMaxWorkingGamma);

      // Any value text: a gamma that reads is finite and reads back from its own form.
      if (auto g = ParseGamma(bytes, sep)) {
        FUZZ_CHECK(std::isfinite(*g));
        FUZZ_CHECK(ParseGamma(FormatGamma(*g, sep), sep) == *g);
      }
    }
  }
  return 0;
}
