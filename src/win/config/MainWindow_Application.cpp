// The application tab: start-up options, other options (reminders among them) and the
// notes folder.
#include "core/app/DataFolders.h"
#include "core/reminders/ReminderSchedule.h"
#include "win/app/App.h"
#include "win/app/MainForm.h"
#include "win/app/Reminders.h"
#include "win/config/MainWindow.h"
#include "win/config/MainWindow_Hooks.h"
#include "win/config/NotesFolderMove.h"

namespace ov {

void MainWindow::CreateApplicationTab(HWND p) {
  const char kAutoStartHint[] = "注意: 如果该程序没有运行，在桌面上三击鼠标将不工作";
  AddGroup(p, "Windows 启动选项", 4, 2, 270, 118);
  SetHint(AddCheck(p, "CheckAutoStart", "系统启动时自动运行", 14, 20, 250, [this] { CheckAutoStartClick(); }),
          kAutoStartHint);
  SetHint(AddCheck(p, "CheckAutoStartOptionQuit", "更新背景后退出", 14, 40, 250, [this] {
            StoreBound("CheckAutoStartOptionQuit");
            hooks::CheckAutoStartClick(app_);
          }),
          kAutoStartHint);
  AddLabel(p, "启动延迟", 14, 68, 64, 14, "LabStartup1");
  AddSpin(p, "SpinStartupDelay", 0, 30, 5, true, 82, 64, [this] {
    StoreBound("SpinStartupDelay");
    hooks::CheckAutoStartClick(app_);
  });
  AddLabel(p, "秒", 142, 68, 24, 14, "LabStartup2");

  AddGroup(p, "其它选项", 280, 2, 288, 118);
  SetHint(AddCheck(p, "CheckXMinimizes", "单击关闭 (X) 最小化 Orvinta", 290, 20, 270,
                   [this] { StoreBound("CheckXMinimizes"); }),
          "如果打开，当试图关闭窗口时，Orvinta 将最小化到系统任务栏。");
  SetHint(AddCheck(p, "CheckDisableHints", "禁用小提示窗", 290, 40, 270, [this] { CheckDisableHintsClick(); }),
          "禁用就像您当前正在阅读的提示信息");
  AddCheck(p, "CheckMiniController", "在桌面上显示迷你控制器", 290, 60, 270, [this] {
    StoreBound("CheckMiniController");
    hooks::CheckMiniControllerClick(app_);
  });
  SetHint(AddCheck(p, "CheckXPThemes", "支持 XP 主题", 290, 80, 270, nullptr), "在程序中 使用/禁用 XP 外观");
  EnableControl("CheckXPThemes", false);

  // Note lines that begin with a time remind this many minutes before it.
  SetHint(AddCheck(p, "CheckReminders", "启用提醒", 290, 98, 90, [this] { ReminderSettingChanged("CheckReminders"); }),
          "以时间开头的项目行（例如 “9:30 开会”）会在该时间前从托盘图标提醒");
  AddLabel(p, "提前提醒", 384, 101, 56, 14, "LabReminderLead1");
  AddSpin(p, "SpinReminderLead", 0, kMaxReminderLead, kDefaultReminderLead, true, 442, 96,
          [this] { ReminderSettingChanged("SpinReminderLead"); });
  AddLabel(p, "分钟", 502, 101, 40, 14, "LabReminderLead2");

  // Where the notes live; a folder a sync service shares carries them to other computers.
  AddGroup(p, "数据文件夹", 4, 124, 564, 40);
  AddLabel(p, "", 14, 142, 440, 14, "LabNotesFolder");
  SetHint(AddButton(p, "bt_ChangeNotesFolder", "更改...", 466, 136, 90, 23,
                    [this] {
                      if (ChangeNotesFolder(app_, form_.Handle())) ShowNotesFolder();
                    }),
          "把项目移动到另一个文件夹，例如同步服务共享的文件夹");
}

void MainWindow::ReminderSettingChanged(std::string_view control) {
  StoreBound(control);
  if (app_.Reminders) app_.Reminders->Refresh();
}

void MainWindow::CheckAutoStartClick() {
  StoreBound("CheckAutoStart");
  ApplyAutoStartEnabling();
  hooks::CheckAutoStartClick(app_);
}

void MainWindow::ApplyAutoStartEnabling() {
  // The quit option and the delay only mean something for a program that starts itself.
  for (const char* n : {"CheckAutoStartOptionQuit", "SpinStartupDelay", "LabStartup1", "LabStartup2"})
    EnableControl(n, app_.settings.AutoStart);
}

void MainWindow::ShowNotesFolder() { SetText("LabNotesFolder", FolderText(app_.Folders.SharedFolder())); }

void MainWindow::SetMiniControllerCheck(bool checked) { SetChecked("CheckMiniController", checked); }

}  // namespace ov
