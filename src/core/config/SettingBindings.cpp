#include "core/config/SettingBindings.h"

#include "core/config/ConfigRules.h"
#include "core/util/Numeric.h"

namespace ov {

namespace {

using K = ControlKind;
using C = Conversion;
using S = Settings;
using P = TImageProps;

SettingBinding Check(std::string_view name, bool S::*flag, C c = C::None) { return {name, K::Check, c, flag, nullptr}; }
SettingBinding Number(std::string_view name, int32_t S::*number, C c = C::None) {
  return {name, K::Numeric, c, nullptr, number};
}
SettingBinding Combo(std::string_view name, int32_t S::*number) { return {name, K::Combo, C::None, nullptr, number}; }

int32_t ToControl(C c, int32_t v) {
  switch (c) {
    case C::Inverted: return v ? 0 : 1;
    case C::TransparencyPercent: return AlphaToTransparencyPercent(v);
    case C::OpacityPercent: return AlphaToOpacityPercent(v);
    default: return v;
  }
}

int32_t FromControl(C c, int32_t v) {
  switch (c) {
    case C::Inverted: return v ? 0 : 1;
    case C::TransparencyPercent: return TransparencyPercentToAlpha(v);
    case C::OpacityPercent: return OpacityPercentToAlpha(v);
    default: return v;
  }
}

}  // namespace

const std::vector<SettingBinding>& SettingBindings() {
  static const std::vector<SettingBinding> table = {
      // Calendar: view
      Check("CheckWeekNumbers", &S::WeekNumbers),
      Check("CheckShowNextMonthCaption", &S::ShowNextMonthCaption),
      Check("CheckFloatingMonth", &S::CalendarFromStartOfMonth, C::Inverted),
      Combo("ComboTitleMode", &S::TitleMode),
      Number("SpinWeekRows", &S::VisibleWeeks),
      Number("SpinPastWeeks", &S::PastVisibleWeeks),
      Combo("ComboWeekDays", &S::StartOfWeek),
      Check("CheckShowLunar", &S::ShowLunar),
      Check("CheckShowEventLines", &S::ShowEventLines),
      // Calendar: cells
      Number("SpinCalendarAlpha", &S::CalendarAlpha, C::TransparencyPercent),
      Number("SpinCellGap", &S::CellGap),
      Number("SpinCellFrameContrast", &S::CellFrameContrast),
      Check("RadioCellColor", &S::UseColorForSkin),
      Check("RadioCellImage", &S::UseColorForSkin, C::Inverted),
      // Calendar: shadow
      Check("CheckCellShadow", &S::CellShadow),
      Number("SpinShadowX", &S::CellShadowX),
      Number("SpinShadowY", &S::CellShadowY),
      Number("SpinShadowAlpha", &S::CellShadowAlpha, C::TransparencyPercent),
      // Calendar: fonts
      Combo("ComboTextOutMode", &S::TextOutMode),
      // Overlay
      Check("CheckBoxOverlay", &S::Overlay),
      Number("SpinOverlayAlpha", &S::OverlayAlpha, C::OpacityPercent),
      // Desktop
      Check("CheckNoBackground", &S::NoBackground),
      Number("SpinWallpaperAlpha", &S::WallpaperAlpha, C::TransparencyPercent),
      Check("RotateImages", &S::RotateImages),
      Number("SpinRot", &S::RotationInterval),
      Combo("RotCombo", &S::RotationMode),
      Check("CheckBox1", &S::CaptureWallpaper),
      Check("CheckKeepIconsTransparent", &S::DesktopIconsTransparent),
      Combo("ComboOutputPixelFormat", &S::OutputPixelmode),
      // Application
      Check("CheckAutoStart", &S::AutoStart),
      Check("CheckAutoStartOptionQuit", &S::AutoStartQuit),
      Number("SpinStartupDelay", &S::AutoStartDelay),
      Check("CheckXMinimizes", &S::CloseIsMinimize),
      Check("CheckDisableHints", &S::DisableHints),
      Check("CheckMiniController", &S::ShowController),
      Check("CheckReminders", &S::RemindersEnabled),
      Number("SpinReminderLead", &S::ReminderLead),
  };
  return table;
}

const SettingBinding* FindSettingBinding(std::string_view control) {
  for (const auto& b : SettingBindings())
    if (b.control == control) return &b;
  return nullptr;
}

int32_t ControlValueFor(const SettingBinding& b, const Settings& s) {
  return ToControl(b.conversion, b.flag ? (s.*b.flag ? 1 : 0) : s.*b.number);
}

void StoreControlValue(const SettingBinding& b, Settings& s, int32_t controlValue) {
  int32_t v = FromControl(b.conversion, controlValue);
  if (b.flag) s.*b.flag = v != 0;
  else s.*b.number = v;
}

const std::vector<ImagePropBinding>& ImagePropBindings() {
  static const std::vector<ImagePropBinding> table = {
      {"GaugeContrast", K::Numeric, 1, C::None, &P::Contrast, nullptr},
      {"GaugeBrightness", K::Numeric, 2, C::None, &P::Brightness, nullptr},
      {"GaugeGamma", K::Numeric, 3, C::GammaTenths, nullptr, nullptr},
      {"GaugeRed", K::Numeric, 10, C::None, &P::Red, nullptr},
      {"GaugeGreen", K::Numeric, 11, C::None, &P::Green, nullptr},
      {"GaugeBlue", K::Numeric, 12, C::None, &P::Blue, nullptr},
      {"CheckGrayscale", K::Check, 1, C::None, nullptr, &P::GrayScale},
      {"CheckEqualize", K::Check, 2, C::None, nullptr, &P::Equalize},
      {"CheckFlipX", K::Check, 3, C::None, nullptr, &P::FlipHorz},
      {"CheckDisableOverlay", K::Check, 4, C::None, nullptr, &P::DisableOverlay},
      {"SpinZoom", K::Numeric, 0, C::None, &P::Zoom, nullptr},
      {"SpinXOffset", K::Numeric, 0, C::None, &P::OffsetX, nullptr},
      {"SpinYOffset", K::Numeric, 0, C::None, &P::OffsetY, nullptr},
  };
  return table;
}

const ImagePropBinding* FindImagePropBinding(ControlKind kind, int tag) {
  for (const auto& b : ImagePropBindings())
    if (b.kind == kind && b.tag == tag && tag != 0) return &b;
  return nullptr;
}

int32_t ControlValueFor(const ImagePropBinding& b, const TImageProps& p) {
  if (b.conversion == C::GammaTenths) return static_cast<int32_t>(Trunc(p.Gamma * 10));
  if (b.flag) return p.*b.flag ? 1 : 0;
  return p.*b.number;
}

void StoreControlValue(const ImagePropBinding& b, TImageProps& p, int32_t controlValue) {
  if (b.conversion == C::GammaTenths) p.Gamma = controlValue / 10.0;
  else if (b.flag) p.*b.flag = controlValue != 0;
  else p.*b.number = controlValue;
}

void SetSizeMode(TImageProps& p, int tag) {
  p.Fit = tag == 2;
  p.Stretch = tag == 3;
  p.Tile = tag == 4;
}

int SizeModeTag(const TImageProps& p) {
  int tag = 1;
  if (p.Stretch) tag = 3;
  if (p.Fit) tag = 2;
  if (p.Tile) tag = 4;
  return tag;
}

}  // namespace ov
