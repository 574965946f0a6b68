#pragma once
// A font as the calendar drawing and the settings know it: what a Windows LOGFONT
// describes, plus the text colour.
#include <cstdint>
#include <optional>
#include <string>

namespace ov {

class ICodePage;

struct FontSpec {
  std::string face = "Tahoma";  // UTF-8
  int32_t height = -13;         // character height in pixels when negative (LOGFONT rule)
  int32_t weight = 700;         // 400 normal, 700 bold
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  uint8_t charSet = 1;          // DEFAULT_CHARSET
  uint32_t color = 0xFFFFFF;    // platform colour 0x00BBGGRR

  bool Bold() const { return weight >= 600; }
  // Point size at 96 dots per inch, the way the settings dialogs show it.
  int PointSize() const;
  void SetPointSize(int points);
  bool SameLook(const FontSpec& o) const {
    return face == o.face && height == o.height && weight == o.weight && italic == o.italic &&
           underline == o.underline && strikeOut == o.strikeOut && charSet == o.charSet;
  }
};

// The 60-byte LOGFONTA record in which the settings keep a font (face name in the ANSI
// code page, little-endian fields).
constexpr size_t kLogFontASize = 60;
std::string EncodeLogFontA(const FontSpec& font, const ICodePage& codePage);
// nullopt for a record that is not 60 bytes long or that describes no usable font
// (no face name, a height of 0 or beyond 1000 pixels, a weight outside 0..1000).
std::optional<FontSpec> DecodeLogFontA(const std::string& bytes, const ICodePage& codePage);

}  // namespace ov
