#pragma once
// TFEntry: the small borderless editor that opens over a day cell of the wallpaper. It
// shows the day's note, lets the user edit it, set the day's colour code, repeat it and
// move between months; closing saves the note and rebuilds the wallpaper when anything
// was changed. At most one exists; it deletes itself when its window is gone.
#include <windows.h>

#include <string>
#include <vector>

#include "core/calendar/EntryStore.h"
#include "core/render/DayDataSource.h"
#include "core/util/Rect.h"
#include "win/ui/Window.h"

namespace ov {

struct App;

class TFEntry final : public Window {
 public:
  // Opens the pop-up for a day over its cell (screen pixels). Returns the pop-up, or
  // nullptr when one is already open or the window cannot be created.
  static TFEntry* Open(App& app, double date, const Rect& cell);

  // Saves when modified (and rebuilds the wallpaper), then goes away. While one of the
  // pop-up's own modal loops runs (its menu, the repeat dialog, a message box) the close
  // waits until that loop has ended, so the loop never returns into a deleted window.
  void CloseEntry();
  bool Saved() const { return saved_; }
  bool Modified() const { return entry_.Modified; }
  void SetModified() { entry_.Modified = true; }
  double Date() const { return date_; }
  const Rect& PopupRect() const { return popupRect_; }
  // Runs the placement again (after a setting changed).
  void Place();
  // Shows the window again after the main window was minimised.
  void ShowAgain();

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnDestroyed() override;

 private:
  TFEntry(App& app, double date, const Rect& cell);
  bool Create();
  void Layout();
  void PaintCaption(HDC dc);
  // The day's subscribed events, read-only, between the caption bar and the memo.
  void PaintEvents(HDC dc);
  int EventsTop() const;
  void UpdateTitle();
  RECT TitleBox() const;
  RECT CloseBox() const;
  void ShowMenu(POINT screen);
  void RunMenuCommand(int id);
  void ChooseColorCode(int index);
  void RepeatEntry();
  void GoToMonth(int step);
  void ApplyMemoFont();
  // The caption bar's height and its font at a monitor's DPI.
  void ApplyDpi(UINT dpi);
  LRESULT HitTest(LPARAM lp);
  void ShowReadError();
  // Conflict copies of this day wait beside the note: asks whether to merge them in.
  void OfferMerge();
  // The memo's text as a note text (LF breaks, trimmed).
  std::string MemoText() const;
  // Whether the memo's text is the whole note, so that it may be saved or repeated.
  bool MemoHoldsTheNote() const { return !readFailed_ && !truncated_; }
  // Marks a modal loop of the pop-up for the lifetime of the object; the last one to end
  // carries out a close that was asked for meanwhile.
  class ModalScope {
   public:
    explicit ModalScope(TFEntry& e) : e_(e) { ++e_.modalDepth_; }
    ~ModalScope() { --e_.modalDepth_; }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

   private:
    TFEntry& e_;
  };
  // After a modal loop: true (and the pop-up closed) when a close came in during it.
  bool CloseIfDeferred();
  void OnResized();
  static LRESULT CALLBACK MemoProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR) noexcept;

  App& app_;
  double date_;
  std::string section_;  // the section the note was read from and is saved into
  Rect cellRect_;
  Rect popupRect_;
  TDayEntry entry_;
  std::string readText_;  // the note's text when the pop-up read it
  bool showing_ = false;
  bool saved_ = false;
  bool closing_ = false;
  bool closePressed_ = false;
  bool readFailed_ = false;     // the note exists but could not be read: the memo is read-only
  bool truncated_ = false;      // the note is too long for the memo, which shows its beginning
  int modalDepth_ = 0;          // modal loops of the pop-up now running
  bool closeDeferred_ = false;  // a close came in during one of them
  bool scrollbar_ = false;
  UINT dpi_ = 96;
  int caption_ = 16;  // the caption bar's height in pixels at dpi_
  HWND memo_ = nullptr;
  HWND wait_ = nullptr;
  HWND tooltip_ = nullptr;
  HFONT memoFont_ = nullptr;
  HFONT uiFont_ = nullptr;
  HBRUSH memoBrush_ = nullptr;
  COLORREF memoColor_ = 0;
  std::wstring title_;
  std::vector<DayEvent> events_;  // the lines shown above the memo; none: no strip
  int eventLine_ = 0;             // the height of one of them, in pixels
  int eventsHeight_ = 0;          // the strip's height, 0 without events
};

}  // namespace ov
