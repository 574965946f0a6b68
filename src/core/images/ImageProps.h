#pragma once
// The display settings of one picture and their form in its properties file.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/images/ProfileIni.h"

namespace ov {

// Property slots: the current picture (image tab and wallpaper background) and the
// bottom image.
enum class ImageSlot { Current = 0, Bottom = 1 };

struct TImageProps {
  // Size mode: at most one of the three is meant to be set; none keeps the picture's size.
  bool Fit = true;
  bool Stretch = false;
  bool Tile = false;
  int32_t Zoom = 100;  // percent
  int32_t OffsetX = 0, OffsetY = 0;  // wallpaper pixels
  bool FlipHorz = false;
  bool GrayScale = false;
  bool Equalize = false;
  bool DisableOverlay = false;
  int32_t Contrast = 0, Brightness = 0;  // -100..100
  double Gamma = 0;                       // -10..10
  int32_t Red = 0, Green = 0, Blue = 0;   // -100..100

  bool operator==(const TImageProps&) const = default;
};

// The format version written into every properties file; files without it (or with an
// older one) stored the colour values as 0..510 with 255 neutral.
constexpr int32_t kImagePropsVersion = 30;

// Reads a parsed properties file: defaults for missing or unreadable keys, and the
// conversion of the old colour form.
TImageProps ImagePropsFromIni(const ProfileIni& ini, char decimalSeparator = '.');
// Writes "Misc"/"Ver" and every key, "Size" keys before "Color" keys.
void ImagePropsToIni(const TImageProps& props, ProfileIni& ini, char decimalSeparator = '.');

// Gamma as the shortest decimal text that reads back as the same value, with the given
// decimal separator ("0", "1.5", "-0.3").
std::string FormatGamma(double gamma, char decimalSeparator);
// Accepts '.' as well as the given separator, so a file written under another locale
// still reads. nullopt for anything that is not a number.
std::optional<double> ParseGamma(std::string_view text, char decimalSeparator);

// Limits that keep the placement and tone arithmetic finite. Values inside them are used
// exactly as stored; only values beyond them are held at the limit, and only for drawing.
constexpr int32_t kMinWorkingZoom = 1;
constexpr int32_t kMaxWorkingZoom = 1'000'000;
constexpr double kMaxWorkingGamma = 300;  // 10^(-Gamma/10) stays a finite, non-zero float

// The properties as drawing uses them: zoom held to kMinWorkingZoom..kMaxWorkingZoom,
// gamma to +-kMaxWorkingGamma with NaN read as 0. Everything else is returned unchanged.
TImageProps WorkingImageProps(const TImageProps& stored);

}  // namespace ov
