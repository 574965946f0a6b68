#pragma once
// The tab "备份": a complete or changes-only backup of the entries and picture settings
// into a cabinet file, and the restore from one. The steps are the core's
// (ButtonBackupClick, ButtonRestoreBackupClick); this page is their platform host.
#include <windows.h>

#include <functional>
#include <string>

#include "core/backup/Backup.h"

namespace ov {

struct App;

class BackupPage final : public IBackupHost {
 public:
  // refreshAfterRestore rebuilds what restored files change (preview, wallpaper, sections).
  BackupPage(App& app, std::function<void()> refreshAfterRestore)
      : app_(app), refreshAfterRestore_(std::move(refreshAfterRestore)) {}

  // Builds both groups on `page`; coordinates in 96-dpi units that `scale` turns into
  // pixels; hint adds a tooltip to a control.
  void Create(HWND page, const std::function<int(int)>& scale, HFONT font,
              const std::function<void(HWND, const std::string&)>& hint);
  // The controls from the settings, and the age of the last backup.
  void Load();
  void ShowBackupAge();
  // WM_COMMAND of the page's controls; true when handled.
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  // IBackupHost
  std::optional<std::string> BrowseForFolder(const std::string& title, const std::string& initial) override;
  void WriteImageProps() override;
  void SetBackupButton(bool enabled, const std::string& caption) override;
  void SetLastBackupLabel(const std::string& text) override;
  bool IsForceChecked() override;
  void SetForceChecked(bool checked) override;
  void SetRestoreButtonEnabled(bool enabled) override;
  bool ConfirmWarning(const std::string& text) override;
  std::optional<std::string> OpenBackupFile(const std::string& folder, const std::string& filter) override;
  std::string DesktopFolder() override;
  void RefreshAfterRestore() override;
  void ShowInformation(const std::string& text) override;
  void ShowError(const std::string& text) override;

 private:
  HWND Owner() const { return GetAncestor(page_, GA_ROOT); }
  void Run(bool backup);

  App& app_;
  std::function<void()> refreshAfterRestore_;
  HWND page_ = nullptr, all_ = nullptr, onlyNew_ = nullptr, imageProps_ = nullptr, backup_ = nullptr;
  HWND lastBackup_ = nullptr, force_ = nullptr, restore_ = nullptr;
};

}  // namespace ov
