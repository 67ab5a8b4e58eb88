#include "ui/win32/form_window.h"

#include <commctrl.h>

#include "platform/win32/gdi_objects.h"
#include "platform/win32/wide.h"
#include "ui/win32/form_painter.h"
#include "ui/win32/form_window_impl.h"

namespace bootmark::win32 {
namespace {

constexpr wchar_t kControlClass[] = L"BootmarkControl";

// The child window class of a control kind, so that a probe tells them apart.
const wchar_t* ControlClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::HyperlinkLabel:
      return L"BootmarkHyperlinkLabel";
    case ControlKind::Label:
    case ControlKind::SkinnedLabel:
    case ControlKind::NoteLabel:
      return L"BootmarkLabel";
    case ControlKind::CheckBox:
      return L"BootmarkCheckBox";
    case ControlKind::Image:
    case ControlKind::SkinnedImage:
      return L"BootmarkImage";
    case ControlKind::Panel:
      return L"BootmarkPanel";
    default:
      return L"BootmarkImageButton";
  }
}

}  // namespace

bool UseProgramCursors(FormModel& form) {
  if (LoadCursorW(GetModuleHandleW(nullptr), L"CR_Arrow") == nullptr) return false;
  form.UseProgramCursors();
  return true;
}

bool FormWindow::Impl::Create() {
  // The common controls (delay-loaded) are bound here, before the form exists:
  // binding them loads the display driver and the theme library, which must not
  // come between the form and its controls (a program that finds the form by its
  // class looks for them at once).
  INITCOMMONCONTROLSEX common{sizeof(common), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&common);
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const std::wstring formClass = Wide(form_.windowClass);
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.lpfnWndProc = FormProc;
  cls.hInstance = instance;
  cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  cls.lpszClassName = formClass.c_str();
  RegisterClassExW(&cls);  // a second form of the class finds it registered
  for (ControlKind kind : {ControlKind::HyperlinkLabel, ControlKind::Label, ControlKind::CheckBox, ControlKind::Image,
                           ControlKind::Panel, ControlKind::SkinnedImageButton}) {
    WNDCLASSEXW child{};
    child.cbSize = sizeof(child);
    child.lpfnWndProc = ControlProc;
    child.hInstance = instance;
    child.lpszClassName = ControlClassOf(kind);
    RegisterClassExW(&child);
  }

  form_.ApplyAutoSize();
  DWORD exStyle = WS_EX_LAYERED;
  if (form_.toolWindow) exStyle |= WS_EX_TOOLWINDOW;
  if (form_.stayOnTop) exStyle |= WS_EX_TOPMOST;
  title_ = form_.title;
  window_ = CreateWindowExW(exStyle, formClass.c_str(), Wide(form_.title).c_str(), WS_POPUP | WS_CLIPCHILDREN,
                            form_.bounds.left, form_.bounds.top, form_.bounds.Width(), form_.bounds.Height(), nullptr,
                            nullptr, instance, this);
  if (window_ == nullptr) return false;
  topMost_ = form_.stayOnTop;
  alpha_ = form_.alpha;
  SetLayeredWindowAttributes(window_, 0, alpha_, LWA_ALPHA);

  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance,
                             nullptr);
  if (tooltip_ != nullptr) SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, form_.hintMaxWidth);

  // Panels first made, so that the controls on them find their parent window.
  children_.reserve(form_.Controls().size());
  int id = 0;
  for (FormControl& control : form_.Controls()) {
    ++id;
    if (control.Kind() == ControlKind::Timer) {
      Timer timer;
      timer.control = &control;
      timers_.push_back(timer);
      continue;
    }
    HWND parent = window_;
    for (const Child& made : children_) {
      if (!control.parent.empty() && SameText(made.control->Name(), control.parent)) parent = made.window;
    }
    const Rect& r = control.bounds;
    HWND child = CreateWindowExW(0, ControlClassOf(control.Kind()), Wide(control.caption).c_str(),
                                 WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (control.visible ? WS_VISIBLE : 0),
                                 r.left, r.top, r.Width(), r.Height(), parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (child == nullptr) continue;
    // Later controls lie above earlier ones, as they are painted.
    SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Child made;
    made.control = &control;
    made.window = child;
    made.text = control.caption;
    made.bounds = r;
    children_.push_back(made);
  }
  for (Child& child : children_) SetWindowLongPtrW(child.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  Sync();
  return true;
}

FormWindow::Impl::Child* FormWindow::Impl::ChildOf(HWND window) {
  for (Child& child : children_) {
    if (child.window == window) return &child;
  }
  return nullptr;
}

void FormWindow::Impl::SyncTip(Child& child) {
  if (tooltip_ == nullptr) return;
  const bool wanted = child.control->showHint && !child.control->hint.empty();
  const std::wstring text = Wide(child.control->hint);
  TOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = window_;
  info.uId = reinterpret_cast<UINT_PTR>(child.window);
  info.lpszText = const_cast<wchar_t*>(text.c_str());
  if (wanted && !child.hasTip) {
    child.hasTip = SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
  } else if (!wanted && child.hasTip) {
    SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    child.hasTip = false;
  } else if (wanted && child.tip != child.control->hint) {
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  }
  child.tip = child.control->hint;
}

void FormWindow::Impl::SyncChild(Child& child) {
  const FormControl& control = *child.control;
  if (child.text != control.caption) {
    child.text = control.caption;
    SetWindowTextW(child.window, Wide(control.caption).c_str());
  }
  if (child.bounds != control.bounds) {
    child.bounds = control.bounds;
    const Rect& r = control.bounds;
    SetWindowPos(child.window, nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  const bool shown = (GetWindowLongW(child.window, GWL_STYLE) & WS_VISIBLE) != 0;
  if (shown != control.visible) {
    ShowWindow(child.window, control.visible ? SW_SHOWNA : SW_HIDE);
  }
  if ((IsWindowEnabled(child.window) != FALSE) != control.enabled) EnableWindow(child.window, control.enabled);
  SyncTip(child);
}

void FormWindow::Impl::Sync() {
  if (window_ == nullptr || syncing_) return;
  syncing_ = true;
  form_.ApplyAutoSize();
  if (title_ != form_.title) {
    title_ = form_.title;
    SetWindowTextW(window_, Wide(title_).c_str());
  }
  if (alpha_ != form_.alpha) {
    alpha_ = form_.alpha;
    SetLayeredWindowAttributes(window_, 0, alpha_, LWA_ALPHA);
  }
  RECT actual{};
  GetWindowRect(window_, &actual);
  const Rect& b = form_.bounds;
  const bool moved = actual.left != b.left || actual.top != b.top || actual.right != b.right || actual.bottom != b.bottom;
  const bool layered = topMost_ != form_.stayOnTop;
  if (moved || layered) {
    topMost_ = form_.stayOnTop;
    SetWindowPos(window_, topMost_ ? HWND_TOPMOST : HWND_NOTOPMOST, b.left, b.top, b.Width(), b.Height(),
                 SWP_NOACTIVATE | (layered ? 0 : SWP_NOZORDER));
  }
  for (Child& child : children_) SyncChild(child);
  for (Timer& timer : timers_) {
    const bool run = timer.control->enabled && timer.control->interval > 0;
    const UINT_PTR id = reinterpret_cast<UINT_PTR>(timer.control);
    if (run && (!timer.running || timer.interval != timer.control->interval)) {
      SetTimer(window_, id, static_cast<UINT>(timer.control->interval), nullptr);
    } else if (!run && timer.running) {
      KillTimer(window_, id);
    }
    timer.running = run;
    timer.interval = timer.control->interval;
  }
  if (shown_ != form_.visible) {
    shown_ = form_.visible;
    ShowWindow(window_, shown_ ? SW_SHOWNOACTIVATE : SW_HIDE);
  }
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  syncing_ = false;
}

void FormWindow::Impl::Paint(HWND window, const Rect& area) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  const int width = std::max(1, area.Width());
  const int height = std::max(1, area.Height());
  // Double buffering: the whole area is drawn off screen and copied in one go.
  {
    const UniqueMemoryDc memory(CreateCompatibleDC(dc));
    const UniqueGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(dc, width, height));
    const SelectedObject selected(memory.Get(), bitmap.Get());
    PaintFormArea(memory.Get(), form_, skin_, area);
    BitBlt(dc, 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
  }
  EndPaint(window, &paint);
}

FormWindow::FormWindow(FormModel& form, const Skin& skin) : impl_(std::make_unique<Impl>(form, skin)) {}
FormWindow::~FormWindow() = default;
bool FormWindow::Create() { return impl_->Create(); }
void FormWindow::Sync() { impl_->Sync(); }
HWND FormWindow::Handle() const { return impl_->Handle(); }

int FormWindow::RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace bootmark::win32
