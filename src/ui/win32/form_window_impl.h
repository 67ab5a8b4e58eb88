#pragma once
// The inside of a form window, shared by its two halves: building and syncing
// the windows (form_window.cpp) and handling their messages
// (form_window_messages.cpp).
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/win32/form_window.h"
#include "ui/win32/gdiplus_support.h"

namespace bootmark::win32 {

class FormWindow::Impl {
 public:
  Impl(FormModel& form, const Skin& skin) : form_(form), skin_(skin) { form_.SetTextMeasurer(&measurer_); }
  ~Impl() {
    if (tooltip_ != nullptr) DestroyWindow(tooltip_);
    if (window_ != nullptr) {
      SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
      DestroyWindow(window_);
    }
  }

  bool Create();
  void Sync();
  HWND Handle() const { return window_; }

 private:
  struct Child {
    FormControl* control = nullptr;
    HWND window = nullptr;
    std::string text;
    Rect bounds;
    bool tracking = false;
    bool hasTip = false;
    std::string tip;
    Point last;
  };
  struct Timer {
    FormControl* control = nullptr;
    bool running = false;
    int interval = 0;
  };

  static LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnFormMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnControlMessage(Child& child, UINT message, WPARAM wParam, LPARAM lParam);
  void Paint(HWND window, const Rect& area);
  void SyncChild(Child& child);
  void SyncTip(Child& child);
  Child* ChildOf(HWND window);

  FormModel& form_;
  const Skin& skin_;
  GdiPlusTextMeasurer measurer_;
  HWND window_ = nullptr;
  HWND tooltip_ = nullptr;
  std::vector<Child> children_;
  std::vector<Timer> timers_;
  bool syncing_ = false;
  std::string title_;
  bool shown_ = false;
  bool topMost_ = false;
  std::uint8_t alpha_ = 255;
};

}  // namespace bootmark::win32
