#include "win/app/App.h"

#include "core/settings/SettingsSchema.h"
#include "win/app/ApplicationWindow.h"
#include "win/app/MainForm.h"

namespace ov {

App::App() = default;
App::~App() = default;

void App::LoadSettings(const SettingsContext& ctx) { settings = ov::LoadSettings(SettingsStore, ctx, CodePage); }

bool App::SaveSettings() { return ov::SaveSettings(SettingsStore, settings, CodePage); }

}  // namespace ov
