#pragma once
// Draws a form model with GDI+: the form's colour, then every shown control in
// the order it was added, each from the suite's skin when that names its image,
// otherwise in the built-in skin drawn here in code.
#include <windows.h>

#include "ui/form_model.h"
#include "ui/skin.h"

namespace bootmark::win32 {

// Paints the part `area` (form client coordinates) of the form into `dc`, whose
// origin is the top-left corner of `area`.
void PaintFormArea(HDC dc, const FormModel& form, const Skin& skin, const Rect& area);

}  // namespace bootmark::win32
