#pragma once
// Caption text as the labels draw it: plain labels are one run of text; hyperlink
// labels are HTML-like, with "<a>" ... "</a>" marking the highlighted, clickable
// parts. The layout breaks the runs into words and places them on lines, so that
// drawing and hit-testing the links agree to the pixel.
#include <string>
#include <string_view>
#include <vector>

#include "ui/form_model.h"

namespace bootmark {

struct TextRun {
  std::string text;
  // Index of the "<a>" part this run belongs to (0 for the first), or -1.
  int link = -1;
  friend bool operator==(const TextRun&, const TextRun&) = default;
};

// Splits a hyperlink label's caption into runs. "<a>" (with or without
// attributes) opens a link and "</a>" closes it (any case); an unclosed link runs
// to the end. "<br>" breaks the line ("\n" in a run); other tags are dropped;
// "&amp;", "&lt;", "&gt;", "&quot;" and "&nbsp;" are decoded. A "<" without a
// closing ">" is text.
std::vector<TextRun> ParseLinkText(std::string_view caption);

// One piece of a laid-out text: a word or a run of words on one line, with its
// box in the control's coordinates.
struct PlacedText {
  std::string text;
  int link = -1;
  Rect box;
};

struct TextLayout {
  std::vector<PlacedText> pieces;
  Size extent;  // the width of the widest line and the height of all lines
};

// Lays out runs on lines: link runs in `linkFont`, the others in `font`. With a
// positive `wrapWidth` lines break between words where the next word would pass
// that width (a word wider than the whole width stands on a line of its own);
// otherwise only at "\n". With `centreWidth` > 0 every line is centred in it.
TextLayout LayOutText(const ITextMeasurer& measurer, const std::vector<TextRun>& runs, const FontSpec& font,
                      const FontSpec& linkFont, int wrapWidth, int centreWidth = 0);

// The link under `at`, or -1.
int LinkAt(const TextLayout& layout, Point at);

// The font of the "<a>" parts: the label's font in bold.
FontSpec LinkFontOf(const FontSpec& font);

// `text` cut at a character boundary and ended with "..." so that it fits `width`;
// unchanged when it fits already.
std::string EllipsizeToWidth(const ITextMeasurer& measurer, const FontSpec& font, std::string_view text, int width);

// `text` with a blank inserted before the first character at which the text,
// measured from its start, no longer fits `width` (so that a long path can break
// there); unchanged when it fits.
std::string BreakAtWidth(const ITextMeasurer& measurer, const FontSpec& font, std::string_view text, int width);

// A measurer that estimates from the font size alone: each character (UTF-8 code
// point) 0.55 of the size wide, bold ones 0.6; lines 1.34 of the size high. Used
// when no screen is at hand.
class EstimatedTextMeasurer : public ITextMeasurer {
 public:
  Size Measure(const FontSpec& font, std::string_view text) const override;
};

}  // namespace bootmark
