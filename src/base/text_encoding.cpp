// The conversions between UTF-8, UTF-16 and the bytes of UTF-16 files.
#include "base/text.h"
#include "base/utf8_decode.h"

namespace bootmark {
namespace text_detail {

char32_t DecodeUtf8(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos++]);
  if (lead < 0x80) return lead;

  int length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  char32_t value = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;   // overlong below U+0800
    if (lead == 0xED) high = 0x9F;  // U+D800..U+DFFF
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07;
    if (lead == 0xF0) low = 0x90;   // overlong below U+10000
    if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
  } else {
    return kReplacement;  // stray continuation byte, C0, C1, F5..FF
  }

  for (int i = 1; i < length; ++i) {
    if (pos >= text.size()) return kReplacement;
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (byte < low || byte > high) return kReplacement;
    low = 0x80;
    high = 0xBF;
    value = (value << 6) | (byte & 0x3F);
    ++pos;
  }
  return value;
}

}  // namespace text_detail
namespace {

using text_detail::DecodeUtf8;
using text_detail::kReplacement;

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

void AppendUnitBytes(std::string& out, char16_t unit, bool bigEndian) {
  const char high = static_cast<char>(unit >> 8);
  const char low = static_cast<char>(unit & 0xFF);
  out.push_back(bigEndian ? high : low);
  out.push_back(bigEndian ? low : high);
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const char32_t code = DecodeUtf8(text, pos);
    if (code < 0x10000) {
      out.push_back(static_cast<char16_t>(code));
    } else {
      const char32_t offset = code - 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (offset >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit < 0xD800 || unit > 0xDFFF) {
      AppendUtf8(out, unit);
    } else if (unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else {
      AppendUtf8(out, kReplacement);
    }
  }
  return out;
}

bool IsWellFormedUtf8(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (static_cast<unsigned char>(text[pos]) < 0x80) {  // ASCII runs are the common case
      ++pos;
      continue;
    }
    const std::size_t start = pos;
    // U+FFFD itself is well formed: only a replacement for other bytes is not.
    if (DecodeUtf8(text, pos) == kReplacement && text.substr(start, pos - start) != "\xEF\xBF\xBD") {
      return false;
    }
  }
  return true;
}

bool TryDecodeUtf16Bytes(std::string_view bytes, bool bigEndian, std::string& text) {
  if (bytes.size() % 2 != 0) return false;
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t count = bytes.size() / 2;
  const auto unitAt = [&](std::size_t i) -> char32_t {
    return bigEndian ? (char32_t{data[2 * i]} << 8) | data[2 * i + 1]
                     : (char32_t{data[2 * i + 1]} << 8) | data[2 * i];
  };
  text.clear();
  text.reserve(count + count / 4);
  for (std::size_t i = 0; i < count; ++i) {
    const char32_t unit = unitAt(i);
    if (unit < 0x80) {
      text.push_back(static_cast<char>(unit));
    } else if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (i + 1 >= count) return false;
      const char32_t low = unitAt(++i);
      if (low < 0xDC00 || low > 0xDFFF) return false;
      AppendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
      return false;
    } else {
      AppendUtf8(text, unit);
    }
  }
  return true;
}

void AppendUtf16(std::string& out, std::string_view utf8, bool bigEndian) {
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const char32_t code = DecodeUtf8(utf8, pos);
    if (code < 0x10000) {
      AppendUnitBytes(out, static_cast<char16_t>(code), bigEndian);
    } else {
      AppendUnitBytes(out, static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)), bigEndian);
      AppendUnitBytes(out, static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)), bigEndian);
    }
  }
}

}  // namespace bootmark
