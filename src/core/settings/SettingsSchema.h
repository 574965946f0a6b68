#pragma once
// The one table of every stored setting: section, value name, kind, field, whether it is
// read and written, and the range a loaded value is held to. LoadSettings and
// SaveSettings walk it in order.
#include <cstdint>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

#include "core/platform/SettingsStore.h"
#include "core/settings/Settings.h"

namespace ov {

class ICodePage;

enum class SettingKind { Bool, Int, Float, String, Font };

struct SettingField {
  using Ref = std::variant<bool& (*)(Settings&), int32_t& (*)(Settings&), uint32_t& (*)(Settings&),
                           double& (*)(Settings&), std::string& (*)(Settings&), FontSpec& (*)(Settings&)>;
  const char* section;
  const char* name;
  SettingKind kind;
  Ref ref;
  bool read = true;
  bool written = true;
  // Loaded integers outside this range are held to its nearest end, so that a value set
  // by hand cannot break the arithmetic that uses it.
  std::optional<std::pair<int32_t, int32_t>> range;
};

// In load order: App (MainForm inside it, after DisableHints), Entry, Panels, Print, Misc.
const std::vector<SettingField>& SettingsTable();

// Reads every value; a missing value, a value of a kind that cannot be converted, or a
// store that cannot be opened gives the default. Applies the load rules (FontBorder from
// Misc\FontBorderPixels, "-" as overlay file name, font records that do not describe a
// usable font ignored).
Settings LoadSettings(ISettingsStore& store, const SettingsContext& ctx, const ICodePage& codePage);

// Writes every written value in table order. FirstRun is always written as false and
// FontBorder as the outline width in effect. False when the store could not be opened
// or a write failed (the remaining values are still attempted).
bool SaveSettings(ISettingsStore& store, const Settings& settings, const ICodePage& codePage);

}  // namespace ov
