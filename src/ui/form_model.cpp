#include "ui/form_model.h"

#include <algorithm>
#include <stdexcept>

#include "base/text.h"
#include "ui/rich_text.h"

namespace bootmark {
namespace {

bool IsAutoSizeText(ControlKind kind) {
  return kind == ControlKind::Label || kind == ControlKind::SkinnedLabel || kind == ControlKind::HyperlinkLabel ||
         kind == ControlKind::CheckBox;
}

// Room of a check-box button's box and the gap after it.
constexpr int kCheckBoxGlyph = 22;

bool Inside(const FormControl& control, Point at) {
  return at.x >= 0 && at.y >= 0 && at.x < control.bounds.Width() && at.y < control.bounds.Height();
}

void Run(const std::function<void()>& handler) {
  // A copy: the handler may replace itself while it runs.
  if (std::function<void()> call = handler) call();
}

}  // namespace

FormModel::FormModel(std::string name) : name_(std::move(name)) {}

FormControl& FormModel::Add(std::string name, ControlKind kind) {
  if (!name.empty() && Find(name) != nullptr) {
    throw std::invalid_argument("A component named " + name + " already exists in " + name_);
  }
  return controls_.emplace_back(std::move(name), kind);
}

FormControl& FormModel::Add(std::string name, ControlKind kind, std::int32_t left, std::int32_t top,
                            std::int32_t width, std::int32_t height) {
  FormControl& control = Add(std::move(name), kind);
  control.bounds = {left, top, left + width, top + height};
  return control;
}

FormControl* FormModel::Find(std::string_view name) {
  return const_cast<FormControl*>(static_cast<const FormModel&>(*this).Find(name));
}

const FormControl* FormModel::Find(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (const FormControl& control : controls_) {
    if (SameText(control.Name(), name)) return &control;
  }
  return nullptr;
}

FormControl& FormModel::Get(std::string_view name) {
  FormControl* control = Find(name);
  if (control == nullptr) throw std::out_of_range("No component named " + std::string(name) + " in " + name_);
  return *control;
}

bool FormModel::MouseOverForm() const {
  const Size size = ClientSize();
  return cursorPosition.x >= 1 && cursorPosition.x < size.width && cursorPosition.y >= 1 &&
         cursorPosition.y < size.height;
}

void FormModel::Resize(Size clientSize) {
  const Size old = ClientSize();
  const std::int32_t dx = clientSize.width - old.width;
  const std::int32_t dy = clientSize.height - old.height;
  bounds.right = bounds.left + clientSize.width;
  bounds.bottom = bounds.top + clientSize.height;
  for (FormControl& control : controls_) {
    if (!control.parent.empty()) continue;  // panels keep their own layout
    Rect& r = control.bounds;
    const Anchors& a = control.anchors;
    if (a.right && a.left) {
      r.right += dx;
    } else if (a.right) {
      r.left += dx;
      r.right += dx;
    } else if (!a.left) {
      r.left += dx / 2;
      r.right += dx / 2;
    }
    if (a.bottom && a.top) {
      r.bottom += dy;
    } else if (a.bottom) {
      r.top += dy;
      r.bottom += dy;
    } else if (!a.top) {
      r.top += dy / 2;
      r.bottom += dy / 2;
    }
  }
}

void FormModel::PlaceBottomRight(const Rect& workArea) {
  const Size size = ClientSize();
  bounds = {workArea.right - size.width, workArea.bottom - size.height, workArea.right, workArea.bottom};
}

int FontSizeLevelFrom(int setting) { return setting == 1 || setting == 2 ? setting : 0; }

void FormModel::SetFontSizeLevel(int level) { fontSizeLevel_ = FontSizeLevelFrom(level); }

FontSpec FormModel::FontOf(const FormControl& control) const {
  FontSpec fontSpec = control.font.value_or(font);
  if (!control.keepFontSize) fontSpec.size += fontSizeLevel_;
  return fontSpec;
}

void FormModel::SetTextMeasurer(const ITextMeasurer* measurer) { measurer_ = measurer; }

const ITextMeasurer& FormModel::Measurer() const {
  static const EstimatedTextMeasurer estimate;
  return measurer_ != nullptr ? *measurer_ : estimate;
}

void FormModel::ApplyAutoSize() {
  for (FormControl& control : controls_) {
    if (!control.autoSize || !IsAutoSizeText(control.Kind())) continue;
    const bool checkBox = control.Kind() == ControlKind::CheckBox;
    const int glyph = checkBox ? kCheckBoxGlyph : 0;
    const FontSpec fontSpec = FontOf(control);
    const std::vector<TextRun> runs = control.Kind() == ControlKind::HyperlinkLabel
                                          ? ParseLinkText(control.caption)
                                          : std::vector<TextRun>{{control.caption, -1}};
    const int wrap = control.wordWrap ? std::max(1, control.bounds.Width() - glyph) : 0;
    const TextLayout layout = LayOutText(Measurer(), runs, fontSpec, LinkFontOf(fontSpec), wrap);
    const Size line = Measurer().Measure(fontSpec, "Ag");
    if (!control.wordWrap) {
      control.bounds.right = control.bounds.left + glyph + layout.extent.width + Measurer().Overhang(fontSpec);
    }
    control.bounds.bottom = control.bounds.top + std::max(layout.extent.height, line.height);
  }
}

Rect FormModel::FormRect(const FormControl& control) const {
  Rect rect = control.bounds;
  const FormControl* parent = Find(control.parent);
  // The depth bound keeps a panel that names itself (or a loop) from hanging.
  for (int depth = 0; parent != nullptr && depth < 16; ++depth) {
    rect.left += parent->bounds.left;
    rect.right += parent->bounds.left;
    rect.top += parent->bounds.top;
    rect.bottom += parent->bounds.top;
    parent = Find(parent->parent);
  }
  return rect;
}

bool FormModel::Showing(const FormControl& control) const {
  const FormControl* current = &control;
  for (int depth = 0; current != nullptr && depth < 16; ++depth) {
    if (!current->visible) return false;
    current = Find(current->parent);
  }
  return true;
}

void FormModel::UseProgramCursors() {
  programCursors_ = true;
  for (FormControl& control : controls_) {
    if (control.cursor == Cursor::Default) control.cursor = Cursor::ProgramArrow;
    if (control.cursor == Cursor::HandPoint) control.cursor = Cursor::ProgramHand;
  }
}

static int LinkUnder(const FormModel& form, const FormControl& control, Point at) {
  if (control.Kind() != ControlKind::HyperlinkLabel) return -1;
  const FontSpec fontSpec = form.FontOf(control);
  const int wrap = control.wordWrap ? control.bounds.Width() : 0;
  const int centre = control.centred ? control.bounds.Width() : 0;
  return LinkAt(LayOutText(form.Measurer(), ParseLinkText(control.caption), fontSpec, LinkFontOf(fontSpec), wrap, centre),
                at);
}

Cursor FormModel::CursorAt(const FormControl& control, Point at) const {
  if (LinkUnder(*this, control, at) >= 0) return programCursors_ ? Cursor::ProgramHand : Cursor::HandPoint;
  return control.cursor;
}

void FormModel::MouseMove(FormControl& control, Point at) {
  const bool entering = hovered_ != &control;
  if (entering && hovered_ != nullptr) MouseLeave(*hovered_);
  hovered_ = &control;
  hoveredLink_ = LinkUnder(*this, control, at);
  if (entering) Run(control.onMouseEnter);
}

void FormModel::MouseLeave(FormControl& control) {
  if (hovered_ != &control) return;
  hovered_ = nullptr;
  hoveredLink_ = -1;
  Run(control.onMouseLeave);
}

void FormModel::MouseDown(FormControl& control, Point at) {
  if (!control.enabled || !Showing(control) || !Inside(control, at)) return;
  // A control that drags the window gets no click: the move loop takes the release.
  pressed_ = control.dragsWindow ? nullptr : &control;
  Run(control.onMouseDown);
}

void FormModel::MouseUp(FormControl& control, Point at) {
  const bool wasPressed = pressed_ == &control;
  pressed_ = nullptr;
  if (!wasPressed || !control.enabled || !Showing(control) || !Inside(control, at)) return;
  if (control.Kind() == ControlKind::CheckBox) control.checked = !control.checked;
  if (LinkUnder(*this, control, at) >= 0) Run(control.onLinkClick);
  Run(control.onClick);
}

ButtonState FormModel::StateOf(const FormControl& control) const {
  if (!control.enabled) return ButtonState::Disabled;
  if (hovered_ != &control) return ButtonState::Normal;
  return pressed_ == &control ? ButtonState::Down : ButtonState::Over;
}

}  // namespace bootmark
