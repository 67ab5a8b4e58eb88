// Arbitrary captions of hyperlink labels: parsing the "<a>" parts, laying them out
// at any wrap width, hit-testing and cutting must never crash or hang, and every
// piece belongs to a link that the caption opened.
// fuzz-max-len: 8192
#include "fuzz/fuzz_target.h"
#include "ui/rich_text.h"

BOOTMARK_FUZZ_TARGET(input) {
  if (input.empty()) return;
  const int width = static_cast<std::uint8_t>(input[0]) * 3;  // 0 lays out without wrapping
  const std::string_view caption = std::string_view(input).substr(1);

  const std::vector<TextRun> runs = ParseLinkText(caption);
  int links = 0;
  for (const TextRun& run : runs) {
    Check(run.link >= -1);
    if (run.link >= links) links = run.link + 1;
  }

  const EstimatedTextMeasurer measurer;
  FontSpec font;
  const TextLayout layout = LayOutText(measurer, runs, font, LinkFontOf(font), width, width);
  for (const PlacedText& piece : layout.pieces) {
    Check(piece.link >= -1 && piece.link < links);
    Check(piece.box.Width() >= 0 && piece.box.Height() >= 0);
    LinkAt(layout, {piece.box.left, piece.box.top});
  }

  const std::string plain(caption);
  const std::string cut = EllipsizeToWidth(measurer, font, plain, width);
  Check(cut.size() <= plain.size() + 3);
  const std::string broken = BreakAtWidth(measurer, font, plain, width);
  Check(broken.size() == plain.size() || broken.size() == plain.size() + 1);
}
