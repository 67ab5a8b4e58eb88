#include "app/full_screen.h"

#include "base/text.h"

namespace bootmark {

bool IsFullScreenForeground(IDesktop& desktop) {
  const WindowHandle window = desktop.ForegroundWindow();
  if (window == kInvalidWindow || window == desktop.DesktopWindow()) return false;

  // A failed query leaves the rectangle empty, which never covers the screen.
  const Rect rect = desktop.WindowRect(window).value_or(Rect{});
  const Size screen = desktop.PrimaryScreenSize();
  if (rect.Width() < screen.width || rect.Height() < screen.height) return false;
  if (rect.left != 0 || rect.top != 0 || rect.right != screen.width || rect.bottom != screen.height) {
    return false;
  }

  // The desktop's own windows span the screen too.
  const std::string className = desktop.ClassName(window);
  return !SameText(className, "WorkerW") && !SameText(className, "Progman");
}

}  // namespace bootmark
