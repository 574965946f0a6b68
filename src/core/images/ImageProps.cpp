#include "core/images/ImageProps.h"

#include <charconv>
#include <cctype>
#include <cmath>

#include "core/util/Numeric.h"
#include "core/util/Text.h"

namespace ov {

namespace {

// Whole numbers as the properties files hold them; hexadecimal with "$" or "0x" is read
// too. Anything else gives nullopt.
std::optional<int32_t> ParseStoredInt(std::string_view s) {
  std::string t = TrimControl(s);
  bool neg = false;
  std::string_view v = t;
  if (!v.empty() && (v[0] == '-' || v[0] == '+')) {
    neg = v[0] == '-';
    v.remove_prefix(1);
  }
  int base = 10;
  if (!v.empty() && v[0] == '$') {
    base = 16;
    v.remove_prefix(1);
  } else if (v.size() > 2 && v[0] == '0' && (v[1] == 'x' || v[1] == 'X')) {
    base = 16;
    v.remove_prefix(2);
  }
  if (base == 10) return ParseInt32(t);
  uint32_t u = 0;
  auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), u, 16);
  if (v.empty() || ec != std::errc() || end != v.data() + v.size()) return std::nullopt;
  int32_t r = static_cast<int32_t>(u);  // "$FFFFFFFF" is -1, as a 32-bit value
  return neg ? static_cast<int32_t>(0u - static_cast<uint32_t>(r)) : r;
}

int32_t ReadInt(const ProfileIni& ini, const char* section, const char* key, int32_t def) {
  auto v = ini.Get(section, key);
  if (!v) return def;
  return ParseStoredInt(*v).value_or(def);
}

bool ReadBool(const ProfileIni& ini, const char* section, const char* key, bool def) {
  return ReadInt(ini, section, key, def ? 1 : 0) != 0;
}

// Colour values of files before format 30: 0..510 with 255 neutral.
int32_t ConvertOldColourValue(int32_t v) {
  return static_cast<int32_t>(static_cast<int64_t>(v) * 100 / 255 - 100);
}

}  // namespace

std::string FormatGamma(double gamma, char decimalSeparator) {
  if (gamma == 0) return "0";  // also -0
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, gamma);
  std::string s(buf, ec == std::errc() ? end : buf);
  for (char& c : s)
    if (c == '.') c = decimalSeparator;
  return s;
}

std::optional<double> ParseGamma(std::string_view text, char decimalSeparator) {
  std::string s = TrimControl(text);
  for (char& c : s)
    if (c == decimalSeparator) c = '.';
  std::string_view v = s;
  if (!v.empty() && v[0] == '+') v.remove_prefix(1);
  if (v.empty()) return std::nullopt;
  // Only plain decimal numbers: from_chars would also take "inf" and "nan".
  for (char c : v)
    if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
      return std::nullopt;
  double d = 0;
  auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), d, std::chars_format::general);
  if (ec != std::errc() || end != v.data() + v.size()) return std::nullopt;
  return d;
}

TImageProps ImagePropsFromIni(const ProfileIni& ini, char decimalSeparator) {
  TImageProps p;  // defaults
  const int32_t ver = ini.HasSection("Misc") ? ReadInt(ini, "Misc", "Ver", kImagePropsVersion) : 0;
  const bool hasSize = ini.HasSection("Size");

  p.Fit = ReadBool(ini, "Size", "stretch2", p.Fit);
  p.Stretch = ReadBool(ini, "Size", "stretch3", p.Stretch);
  p.Tile = ReadBool(ini, "Size", "stretch4", p.Tile);
  p.Zoom = ReadInt(ini, "Size", "Magnify", p.Zoom);
  p.OffsetX = ReadInt(ini, "Size", "OffsetX", p.OffsetX);
  p.OffsetY = ReadInt(ini, "Size", "OffsetY", p.OffsetY);
  p.FlipHorz = ReadBool(ini, "Size", "FlipHorz", p.FlipHorz);
  p.GrayScale = ReadBool(ini, "Color", "GrayScale", p.GrayScale);
  p.Equalize = ReadBool(ini, "Color", "Equalize", p.Equalize);
  p.DisableOverlay = ReadBool(ini, "Color", "DisableOverlay", p.DisableOverlay);
  p.Contrast = ReadInt(ini, "Color", "Contrast", p.Contrast);
  p.Brightness = ReadInt(ini, "Color", "Brightness", p.Brightness);
  if (auto g = ini.Get("Color", "Gamma")) p.Gamma = ParseGamma(*g, decimalSeparator).value_or(p.Gamma);
  p.Red = ReadInt(ini, "Color", "Red", p.Red);
  p.Green = ReadInt(ini, "Color", "Green", p.Green);
  p.Blue = ReadInt(ini, "Color", "Blue", p.Blue);

  if (hasSize && ver < kImagePropsVersion) {
    p.Contrast = ConvertOldColourValue(p.Contrast);
    p.Brightness = ConvertOldColourValue(p.Brightness);
    p.Red = ConvertOldColourValue(p.Red);
    p.Green = ConvertOldColourValue(p.Green);
    p.Blue = ConvertOldColourValue(p.Blue);
  }
  return p;
}

void ImagePropsToIni(const TImageProps& p, ProfileIni& ini, char decimalSeparator) {
  auto b = [](bool v) { return v ? "1" : "0"; };
  auto i = [](int32_t v) { return std::to_string(v); };
  ini.Set("Misc", "Ver", i(kImagePropsVersion));
  ini.Set("Size", "stretch2", b(p.Fit));
  ini.Set("Size", "stretch3", b(p.Stretch));
  ini.Set("Size", "stretch4", b(p.Tile));
  ini.Set("Size", "Magnify", i(p.Zoom));
  ini.Set("Size", "OffsetX", i(p.OffsetX));
  ini.Set("Size", "OffsetY", i(p.OffsetY));
  ini.Set("Size", "FlipHorz", b(p.FlipHorz));
  ini.Set("Color", "GrayScale", b(p.GrayScale));
  ini.Set("Color", "Equalize", b(p.Equalize));
  ini.Set("Color", "DisableOverlay", b(p.DisableOverlay));
  ini.Set("Color", "Contrast", i(p.Contrast));
  ini.Set("Color", "Brightness", i(p.Brightness));
  ini.Set("Color", "Gamma", FormatGamma(p.Gamma, decimalSeparator));
  ini.Set("Color", "Red", i(p.Red));
  ini.Set("Color", "Green", i(p.Green));
  ini.Set("Color", "Blue", i(p.Blue));
}

TImageProps WorkingImageProps(const TImageProps& stored) {
  TImageProps p = stored;
  p.Zoom = Clamp(p.Zoom, kMinWorkingZoom, kMaxWorkingZoom);
  if (std::isnan(p.Gamma)) p.Gamma = 0;
  p.Gamma = Clamp(p.Gamma, -kMaxWorkingGamma, kMaxWorkingGamma);
  return p;
}

}  // namespace ov
