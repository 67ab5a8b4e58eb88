#pragma once
// A text measurer with round numbers for the window toolkit's tests: every
// character 7 pixels wide (8 in bold), lines as high as the font size + 4.
#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/fake_ports.h"
#include "ui/form_model.h"

namespace bootmark::testing {

class FixedTextMeasurer : public ITextMeasurer {
 public:
  Size Measure(const FontSpec& font, std::string_view text) const override {
    const auto characters = std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; });
    return {static_cast<std::int32_t>(characters * (font.bold ? 8 : 7)), font.size + 4};
  }
};

// Runs a notice's handler or creation step; true when it ended the process,
// which a notice always does with exit code 0.
template <typename Action>
bool EndsProcess(Action action) {
  try {
    action();
  } catch (const ProcessTerminated& ended) {
    EXPECT_EQ(ended.exitCode, 0u);
    return true;
  }
  return false;
}

}  // namespace bootmark::testing
