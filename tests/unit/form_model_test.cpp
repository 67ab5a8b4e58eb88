// The form model: controls keep their order and their addresses, and component
// names are unique within a form as the language files' keys need them to be.
#include "ui/form_model.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace bootmark {
namespace {

TEST(FormModelTest, ControlsKeepTheirOrderAndAddressesWhileTheFormGrows) {
  FormModel form("Bmark_AutoRunNotice");
  FormControl& first = form.Add("Imagebg", ControlKind::SkinnedImage);
  for (int i = 0; i < 1000; ++i) form.Add("lbl_" + std::to_string(i), ControlKind::Label);
  first.hint = "still here";

  ASSERT_EQ(form.Controls().size(), 1001u);
  EXPECT_EQ(&form.Controls().front(), &first);
  EXPECT_EQ(form.Controls()[500].Name(), "lbl_499");
  EXPECT_EQ(form.Find("IMAGEBG"), &first);
  EXPECT_EQ(form.Find("lbl_1000"), nullptr);
}

TEST(FormModelTest, NamesAreUniqueIgnoringCaseButMayBeEmpty) {
  FormModel form("Bmark_MainForm");
  form.Add("Button_Close", ControlKind::SkinnedImageButton);
  EXPECT_THROW(form.Add("button_close", ControlKind::Label), std::invalid_argument);
  form.Add("", ControlKind::Timer);
  form.Add("", ControlKind::Timer);
  EXPECT_EQ(form.Controls().size(), 3u);
  EXPECT_EQ(form.Find(""), nullptr);
}

}  // namespace
}  // namespace bootmark
