#pragma once
// Notice windows grow on very wide screens.
#include "common/system_info.h"
#include "platform/platform.h"
#include "ui/form_model.h"

namespace bootmark {

// Where a form stands on the screen and how small it may become: the part of a
// form that the large-screen rule changes.
struct FormGeometry {
  Rect bounds;
  Size minimumSize;  // 0 by 0: no minimum
};

// Called by a notice window while it is created. When the work area of the
// monitor that shows the form is wider than 1920 pixels and either the user's
// applied DPI ("AppliedDPI" of HKEY_CURRENT_USER\Control Panel\Desktop\WindowMetrics,
// 96 when unreadable) is 96 or Windows does not scale the program's windows
// itself, the form's width and height are multiplied by 1.5 (rounded to nearest,
// ties to even) from its top-left corner and become its minimum size too; the
// result is then true and the window rearranges its controls. Otherwise nothing
// changes and the result is false.
bool ScaleFormForLargeScreen(const Platform& platform, const SystemInfo& system, FormGeometry& form);
// The same rule on a form model: the window grows from its top-left corner, its
// controls follow their anchors (FormModel::Resize), and the new size becomes the
// minimum size. The notice then moves its own controls as its layout rules say.
bool ScaleFormForLargeScreen(const Platform& platform, const SystemInfo& system, FormModel& form);

}  // namespace bootmark
