#pragma once
// Which control of the configuration window edits which setting, and through which
// conversion. The window loads every bound control from the settings with one loop and
// its change handlers write values back through the same table.
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/images/ImageProps.h"
#include "core/settings/Settings.h"

namespace ov {

enum class ControlKind { Check, Numeric, Combo };

enum class Conversion {
  None,                 // the control shows the setting itself (check state 0/1, index, number)
  Inverted,             // a check box that shows the opposite of the setting
  TransparencyPercent,  // opacity 0..255 shown as transparency 0..100 %
  OpacityPercent,       // opacity 0..255 shown as opacity 0..100 %
  GammaTenths,          // gamma -10.0..10.0 shown as a gauge position -100..100
};

struct SettingBinding {
  std::string_view control;  // the control's name, "CheckWeekNumbers"
  ControlKind kind;
  Conversion conversion = Conversion::None;
  bool Settings::*flag = nullptr;
  int32_t Settings::*number = nullptr;
};

// The settings of the calendar, overlay, desktop and application tabs.
const std::vector<SettingBinding>& SettingBindings();
const SettingBinding* FindSettingBinding(std::string_view control);

// The value the control shows for the stored setting, and the setting a control value
// stands for.
int32_t ControlValueFor(const SettingBinding& b, const Settings& s);
void StoreControlValue(const SettingBinding& b, Settings& s, int32_t controlValue);

// The image tab edits the current picture's properties; the gauges and check boxes are
// told apart by their tags.
struct ImagePropBinding {
  std::string_view control;
  ControlKind kind;
  int tag;
  Conversion conversion = Conversion::None;
  int32_t TImageProps::*number = nullptr;
  bool TImageProps::*flag = nullptr;
};

const std::vector<ImagePropBinding>& ImagePropBindings();
const ImagePropBinding* FindImagePropBinding(ControlKind kind, int tag);
int32_t ControlValueFor(const ImagePropBinding& b, const TImageProps& p);
void StoreControlValue(const ImagePropBinding& b, TImageProps& p, int32_t controlValue);

// Size-mode radio buttons by tag: 1 as-is, 2 fit, 3 stretch, 4 tile. Setting one clears
// the other flags; the tag the properties show is the one ShowImageProperties checks
// (as-is first, then stretch, fit and tile in that order, the last set flag winning).
void SetSizeMode(TImageProps& p, int tag);
int SizeModeTag(const TImageProps& p);

// HolidayBits as check marks: bit i is item i (0 = Monday).
inline bool HolidayChecked(int32_t bits, int item) { return (bits >> item) & 1; }
inline int32_t WithHoliday(int32_t bits, int item, bool checked) {
  return checked ? (bits | (1 << item)) : (bits & ~(1 << item));
}

}  // namespace ov
