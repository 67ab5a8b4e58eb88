#pragma once
// The Win32 renderer of a form model: a borderless, layered (constant alpha),
// double-buffered top-level window with one child window per control (timers
// excepted), so that every control has its own text, visibility and rectangle
// that another process can read, click and hover. Painting, mouse input, hints
// and timers all go through the model; after every event the window brings
// itself up to date with it.
#include <windows.h>

#include <memory>

#include "ui/form_model.h"
#include "ui/skin.h"

namespace bootmark::win32 {

// Starts GDI+ for the life of the object (every form window needs one).
class GdiPlusSession {
 public:
  GdiPlusSession();
  ~GdiPlusSession();
  GdiPlusSession(const GdiPlusSession&) = delete;
  GdiPlusSession& operator=(const GdiPlusSession&) = delete;
  bool Started() const { return token_ != 0; }

 private:
  ULONG_PTR token_ = 0;
};

// Text measured as GDI+ draws it (anti-aliased, "Segoe UI" or its fall-back).
// Needs a running GdiPlusSession.
class GdiPlusTextMeasurer : public ITextMeasurer {
 public:
  Size Measure(const FontSpec& font, std::string_view text) const override;
  // Anti-aliased glyphs such as a final "r" or "f" reach past the typographic
  // width by up to about a sixth of the font size.
  int Overhang(const FontSpec& font) const override { return (font.size + 5) / 6; }
};

// The face a font is drawn with: the designed one when the system has it,
// otherwise "Tahoma" (Windows XP has no "Segoe UI"), otherwise the system's.
std::wstring AvailableFace(const std::string& face);

// Loads the program's cursors "CR_Arrow" and "CR_Hand"; when the arrow loaded,
// switches the form's controls to them (FormModel::UseProgramCursors). True
// when it did.
bool UseProgramCursors(FormModel& form);

class FormWindow {
 public:
  // The model and skin must outlive the window. Sets the form's text measurer.
  FormWindow(FormModel& form, const Skin& skin);
  ~FormWindow();
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  // Creates the window and its controls, shown when the form is visible.
  // False when Windows refused.
  bool Create();
  // Brings the windows up to date with the model (runs after every event by itself).
  void Sync();
  HWND Handle() const;
  // Runs the message loop until the window is destroyed; returns the exit code
  // of WM_QUIT.
  int RunMessageLoop();

  class Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace bootmark::win32
