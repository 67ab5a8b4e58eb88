// Notice windows grow by half on work areas wider than 1920 pixels.
#include "ui/large_screen.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace bootmark {
namespace {

struct ScaleCase {
  const char* name;
  std::int32_t workAreaWidth;
  std::optional<std::uint32_t> appliedDpi;  // nullopt: the value cannot be read
  bool dpiVirtualized;
  bool expected;
};

TEST(ScaleFormTest, GrowsOnWideWorkAreasUnlessWindowsAlreadyScalesAnEnlargedDpi) {
  const ScaleCase cases[] = {
      {"Exactly1920", 1920, 96, false, false}, {"Width1921", 1921, 96, false, true},
      {"Scaled96", 2560, 96, true, true},
      {"ScaledUnreadableCountsAs96", 2560, std::nullopt, true, true},
      {"ScaledEnlargedDpi", 2560, 144, true, false}, {"AwareEnlargedDpi", 2560, 144, false, true},
  };
  for (const ScaleCase& test : cases) {
    SCOPED_TRACE(test.name);
    testing::FakePlatform fake;
    fake.display.screenDpi = test.dpiVirtualized ? 96 : 144;
    fake.desktop.screen = {3840, 2160};
    if (test.appliedDpi) {
      fake.registry.SetDword(RegistryRoot::CurrentUser, "Control Panel\\Desktop\\WindowMetrics", "AppliedDPI",
                             *test.appliedDpi);
    }
    fake.display.workArea = Rect{-test.workAreaWidth, 0, 0, 1400};
    SystemInfo system(fake.platform);
    system.SetupDpiAwareness();
    ASSERT_EQ(system.DpiVirtualized(), test.dpiVirtualized);

    FormGeometry form{Rect{-400, 1000, -100, 1200}, {}};
    EXPECT_EQ(ScaleFormForLargeScreen(fake.platform, system, form), test.expected);
    if (test.expected) {
      EXPECT_EQ(form.bounds, (Rect{-400, 1000, 50, 1300}));
      EXPECT_EQ(form.minimumSize, (Size{450, 300}));
    } else {
      EXPECT_EQ(form.bounds, (Rect{-400, 1000, -100, 1200}));
      EXPECT_EQ(form.minimumSize, (Size{0, 0}));
    }
    // The monitor is the one that shows the form.
    EXPECT_EQ(fake.display.workAreaAskedFor, (std::vector<Rect>{Rect{-400, 1000, -100, 1200}}));
  }
}

TEST(ScaleFormTest, OddSizesRoundHalvesToEven) {
  testing::FakePlatform fake;
  fake.display.workArea = Rect{0, 0, 2560, 1400};
  SystemInfo system(fake.platform);
  const struct {
    Size size;
    Size expected;
  } cases[] = {{{301, 303}, {452, 454}}, {{1, 3}, {2, 4}}, {{0, 2}, {0, 3}}};
  for (const auto& test : cases) {
    FormGeometry form{Rect{10, 20, 10 + test.size.width, 20 + test.size.height}, {}};
    ASSERT_TRUE(ScaleFormForLargeScreen(fake.platform, system, form));
    EXPECT_EQ((Size{form.bounds.Width(), form.bounds.Height()}), test.expected);
    EXPECT_EQ(form.minimumSize, test.expected);
  }
}

TEST(ScaleFormTest, NoWorkAreaNoChange) {
  testing::FakePlatform fake;
  fake.display.workArea.reset();
  SystemInfo system(fake.platform);
  FormGeometry form{Rect{0, 0, 300, 200}, {}};
  EXPECT_FALSE(ScaleFormForLargeScreen(fake.platform, system, form));
  EXPECT_EQ(form.bounds, (Rect{0, 0, 300, 200}));
}

}  // namespace
}  // namespace bootmark
