#include "ui/large_screen.h"

#include <cmath>

#include "common/registry_values.h"

namespace bootmark {
namespace {

constexpr std::int32_t kWidestUnscaledWorkArea = 1920;
constexpr std::uint32_t kUnscaledDpi = 96;

std::int32_t OneAndAHalf(std::int32_t length) { return static_cast<std::int32_t>(std::nearbyint(length * 1.5)); }

}  // namespace

bool ScaleFormForLargeScreen(const Platform& platform, const SystemInfo& system, FormGeometry& form) {
  const std::uint32_t appliedDpi =
      ReadRegistryDword(platform.registry, RegistryRoot::CurrentUser, "Control Panel\\Desktop\\WindowMetrics",
                        "AppliedDPI")
          .value_or(kUnscaledDpi);
  const std::optional<Rect> workArea = platform.display.MonitorWorkArea(form.bounds);
  if (!workArea || workArea->Width() <= kWidestUnscaledWorkArea) return false;
  if (appliedDpi != kUnscaledDpi && system.DpiVirtualized()) return false;

  const Size size{OneAndAHalf(form.bounds.Width()), OneAndAHalf(form.bounds.Height())};
  form.bounds.right = form.bounds.left + size.width;
  form.bounds.bottom = form.bounds.top + size.height;
  form.minimumSize = size;
  return true;
}

}  // namespace bootmark

namespace bootmark {

bool ScaleFormForLargeScreen(const Platform& platform, const SystemInfo& system, FormModel& form) {
  FormGeometry geometry{form.bounds, form.minimumSize};
  if (!ScaleFormForLargeScreen(platform, system, geometry)) return false;
  form.Resize({geometry.bounds.Width(), geometry.bounds.Height()});
  form.minimumSize = geometry.minimumSize;
  return true;
}

}  // namespace bootmark
