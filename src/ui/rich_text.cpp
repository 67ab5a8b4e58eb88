#include "ui/rich_text.h"

#include <algorithm>
#include <cmath>

#include "base/text.h"

namespace bootmark {
namespace {

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

// The tag name of "<name attributes>" or "</name>", lower case, with a leading "/".
std::string TagName(std::string_view tag) {
  std::size_t end = 0;
  while (end < tag.size() && tag[end] != ' ' && tag[end] != '\t' && tag[end] != '>' &&
         !(tag[end] == '/' && end > 0)) {
    ++end;
  }
  return LowerAscii(tag.substr(0, end));
}

constexpr std::pair<std::string_view, std::string_view> kEntities[] = {
    {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&nbsp;", " "}};

void AppendText(std::vector<TextRun>& runs, int link, std::string_view text) {
  if (text.empty()) return;
  if (runs.empty() || runs.back().link != link) runs.push_back({"", link});
  runs.back().text.append(text);
}

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::size_t CodePointCount(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) { return !IsContinuationByte(c); }));
}

// Words with the blanks after them, so that a line never starts with a blank.
std::vector<std::string_view> SplitWords(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ' ' && (i + 1 == text.size() || text[i + 1] != ' ')) {
      words.push_back(text.substr(start, i + 1 - start));
      start = i + 1;
    }
  }
  if (start < text.size()) words.push_back(text.substr(start));
  return words;
}

}  // namespace

std::vector<TextRun> ParseLinkText(std::string_view caption) {
  std::vector<TextRun> runs;
  int link = -1;
  int links = 0;
  std::size_t i = 0;
  while (i < caption.size()) {
    const char c = caption[i];
    if (c == '<') {
      const std::size_t close = caption.find('>', i + 1);
      if (close == std::string_view::npos) {
        AppendText(runs, link, caption.substr(i));
        break;
      }
      const std::string name = TagName(caption.substr(i + 1, close - i - 1));
      if (name == "a") {
        if (link < 0) link = links++;
      } else if (name == "/a") {
        link = -1;
      } else if (name == "br") {
        AppendText(runs, link, "\n");
      }
      i = close + 1;
      continue;
    }
    if (c == '&') {
      bool decoded = false;
      for (const auto& [entity, text] : kEntities) {
        if (LowerAscii(caption.substr(i, entity.size())) == entity) {
          AppendText(runs, link, text);
          i += entity.size();
          decoded = true;
          break;
        }
      }
      if (decoded) continue;
    }
    const std::size_t next = caption.find_first_of("<&", i + 1);
    const std::size_t end = next == std::string_view::npos ? caption.size() : next;
    AppendText(runs, link, caption.substr(i, end - i));
    i = end;
  }
  return runs;
}

FontSpec LinkFontOf(const FontSpec& font) {
  FontSpec link = font;
  link.bold = true;
  return link;
}

TextLayout LayOutText(const ITextMeasurer& measurer, const std::vector<TextRun>& runs, const FontSpec& font,
                      const FontSpec& linkFont, int wrapWidth, int centreWidth) {
  TextLayout layout;
  const int plainLine = measurer.Measure(font, "Ag").height;
  const int linkLine = measurer.Measure(linkFont, "Ag").height;
  std::size_t lineStart = 0;  // first piece of the current line
  int x = 0;
  int y = 0;
  int lineHeight = 0;
  auto finishLine = [&] {
    const int height = lineHeight > 0 ? lineHeight : plainLine;
    if (centreWidth > 0) {
      const int shift = std::max(0, (centreWidth - x) / 2);
      for (std::size_t p = lineStart; p < layout.pieces.size(); ++p) {
        layout.pieces[p].box.left += shift;
        layout.pieces[p].box.right += shift;
      }
    }
    // Pieces of one line share its bottom, so that a bigger link stands on the line.
    for (std::size_t p = lineStart; p < layout.pieces.size(); ++p) {
      Rect& box = layout.pieces[p].box;
      const int pieceHeight = box.Height();
      box.bottom = y + height;
      box.top = box.bottom - pieceHeight;
    }
    layout.extent.width = std::max(layout.extent.width, x);
    y += height;
    x = 0;
    lineHeight = 0;
    lineStart = layout.pieces.size();
  };
  for (const TextRun& run : runs) {
    const FontSpec& fontSpec = run.link >= 0 ? linkFont : font;
    const int height = run.link >= 0 ? linkLine : plainLine;
    std::size_t lineBegin = 0;
    while (lineBegin <= run.text.size()) {
      const std::size_t newline = run.text.find('\n', lineBegin);
      const std::size_t lineEnd = newline == std::string::npos ? run.text.size() : newline;
      const std::string_view part = std::string_view(run.text).substr(lineBegin, lineEnd - lineBegin);
      for (std::string_view word : SplitWords(part)) {
        const int width = measurer.Measure(fontSpec, word).width;
        if (wrapWidth > 0 && x > 0 && x + width - (word.back() == ' ' ? measurer.Measure(fontSpec, " ").width : 0) > wrapWidth) {
          finishLine();
        }
        // Words of one run on one line join into one piece.
        if (layout.pieces.size() > lineStart && layout.pieces.back().link == run.link &&
            layout.pieces.back().box.right == x && layout.pieces.back().box.Height() == height) {
          layout.pieces.back().text.append(word);
          layout.pieces.back().box.right += width;
        } else {
          layout.pieces.push_back({std::string(word), run.link, {x, y, x + width, y + height}});
        }
        x += width;
        lineHeight = std::max(lineHeight, height);
      }
      if (newline == std::string::npos) break;
      finishLine();
      lineBegin = newline + 1;
    }
  }
  finishLine();
  layout.extent.height = y;
  return layout;
}

int LinkAt(const TextLayout& layout, Point at) {
  for (const PlacedText& piece : layout.pieces) {
    if (piece.link >= 0 && at.x >= piece.box.left && at.x < piece.box.right && at.y >= piece.box.top &&
        at.y < piece.box.bottom) {
      return piece.link;
    }
  }
  return -1;
}

namespace {

// Byte length of the longest start of `text` (whole code points) whose width with
// `suffix` after it is at most `width`.
std::size_t FittingPrefix(const ITextMeasurer& measurer, const FontSpec& font, std::string_view text,
                          std::string_view suffix, int width) {
  std::size_t fits = 0;
  for (std::size_t end = 1; end <= text.size(); ++end) {
    if (end < text.size() && IsContinuationByte(text[end])) continue;
    if (measurer.Measure(font, std::string(text.substr(0, end)) + std::string(suffix)).width > width) break;
    fits = end;
  }
  return fits;
}

}  // namespace

std::string EllipsizeToWidth(const ITextMeasurer& measurer, const FontSpec& font, std::string_view text, int width) {
  if (measurer.Measure(font, text).width <= width) return std::string(text);
  return std::string(text.substr(0, FittingPrefix(measurer, font, text, "...", width))) + "...";
}

std::string BreakAtWidth(const ITextMeasurer& measurer, const FontSpec& font, std::string_view text, int width) {
  if (measurer.Measure(font, text).width <= width) return std::string(text);
  const std::size_t fits = FittingPrefix(measurer, font, text, "", width);
  return std::string(text.substr(0, fits)) + " " + std::string(text.substr(fits));
}

Size EstimatedTextMeasurer::Measure(const FontSpec& font, std::string_view text) const {
  const double perCharacter = font.size * (font.bold ? 0.6 : 0.55);
  return {static_cast<std::int32_t>(std::lround(perCharacter * static_cast<double>(CodePointCount(text)))),
          static_cast<std::int32_t>(std::lround(font.size * 1.34))};
}

}  // namespace bootmark
