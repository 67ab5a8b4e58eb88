// A form window's message handling: the form's own messages and those of its
// control windows, all passed to the model.
#include <functional>
#include <string>

#include "platform/win32/wide.h"
#include "ui/win32/form_window_impl.h"

namespace bootmark::win32 {
namespace {

constexpr WPARAM kMoveByCaption = 61458;  // SC_MOVE | HTCAPTION

HCURSOR CursorHandle(Cursor cursor) {
  static const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  static const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
  static const HCURSOR beam = LoadCursorW(nullptr, IDC_IBEAM);
  static const HCURSOR programArrow = LoadCursorW(GetModuleHandleW(nullptr), L"CR_Arrow");
  static const HCURSOR programHand = LoadCursorW(GetModuleHandleW(nullptr), L"CR_Hand");
  switch (cursor) {
    case Cursor::HandPoint:
      return hand;
    case Cursor::IBeam:
      return beam;
    case Cursor::ProgramArrow:
      return programArrow != nullptr ? programArrow : arrow;
    case Cursor::ProgramHand:
      return programHand != nullptr ? programHand : hand;
    case Cursor::Default:
      break;
  }
  return arrow;
}

Point PointOf(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

}  // namespace

LRESULT CALLBACK FormWindow::Impl::FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    static_cast<Impl*>(create->lpCreateParams)->window_ = window;
  }
  auto* self = reinterpret_cast<Impl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return self->OnFormMessage(message, wParam, lParam);
}

LRESULT FormWindow::Impl::OnFormMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint(window_, {0, 0, form_.bounds.Width(), form_.bounds.Height()});
      return 0;
    case WM_TIMER:
      for (Timer& timer : timers_) {
        if (reinterpret_cast<UINT_PTR>(timer.control) != wParam || !timer.control->enabled) continue;
        POINT cursor{};
        GetCursorPos(&cursor);
        ScreenToClient(window_, &cursor);
        form_.cursorPosition = {cursor.x, cursor.y};
        if (std::function<void()> tick = timer.control->onTimer) tick();
        Sync();
        return 0;
      }
      break;
    case WM_COPYDATA: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      if (data == nullptr || data->lpData == nullptr || !form_.onCopyData) return TRUE;
      // Zero-terminated UTF-16, never read past the block that came with it.
      const auto* units = static_cast<const wchar_t*>(data->lpData);
      std::size_t length = 0;
      const std::size_t limit = data->cbData / sizeof(wchar_t);
      while (length < limit && units[length] != 0) ++length;
      if (std::function<void(const std::string&)> receive = form_.onCopyData) receive(Narrow(units, length));
      Sync();
      return TRUE;
    }
    case WM_WINDOWPOSCHANGED:
      // A move by the user (the drag) becomes the model's position.
      if (!syncing_) {
        RECT actual{};
        GetWindowRect(window_, &actual);
        form_.bounds = {actual.left, actual.top, actual.right, actual.bottom};
      }
      break;
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      if (form_.minimumSize.width > 0) limits->ptMinTrackSize = {form_.minimumSize.width, form_.minimumSize.height};
      return 0;
    }
    case WM_DESTROY:
      window_ = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK FormWindow::Impl::ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Impl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  Child* child = self != nullptr ? self->ChildOf(window) : nullptr;
  if (child == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return self->OnControlMessage(*child, message, wParam, lParam);
}

LRESULT FormWindow::Impl::OnControlMessage(Child& child, UINT message, WPARAM wParam, LPARAM lParam) {
  FormControl& control = *child.control;
  const HWND window = child.window;
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint(window, form_.FormRect(control));
      return 0;
    case WM_MOUSEMOVE: {
      const Point at = PointOf(lParam);
      child.last = at;
      if (!child.tracking) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
        child.tracking = TrackMouseEvent(&track) != FALSE;
      }
      const bool inside = at.x >= 0 && at.y >= 0 && at.x < control.bounds.Width() && at.y < control.bounds.Height();
      if (inside) {
        form_.MouseMove(control, at);
      } else {
        form_.MouseLeave(control);
      }
      Sync();
      return 0;
    }
    case WM_MOUSELEAVE:
      child.tracking = false;
      form_.MouseLeave(control);
      Sync();
      return 0;
    case WM_LBUTTONDOWN: {
      const Point at = PointOf(lParam);
      form_.MouseDown(control, at);
      if (control.dragsWindow && control.enabled && form_.Showing(control)) {
        ReleaseCapture();
        SendMessageW(window_, WM_SYSCOMMAND, kMoveByCaption, 0);
      } else {
        SetCapture(window);
      }
      Sync();
      return 0;
    }
    case WM_LBUTTONUP:
      if (GetCapture() == window) ReleaseCapture();
      form_.MouseUp(control, PointOf(lParam));
      Sync();
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        POINT cursor{};
        GetCursorPos(&cursor);
        ScreenToClient(window, &cursor);
        SetCursor(CursorHandle(form_.CursorAt(control, {cursor.x, cursor.y})));
        return TRUE;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace bootmark::win32
