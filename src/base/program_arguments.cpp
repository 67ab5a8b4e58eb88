#include "base/program_arguments.h"

namespace bootmark {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The executable name: quoted up to the closing quote, else up to the first blank.
std::size_t ParseProgramName(std::string_view line, std::string& name) {
  std::size_t pos = 0;
  if (!line.empty() && line[0] == '"') {
    const std::size_t close = line.find('"', 1);
    if (close == std::string_view::npos) {
      name.assign(line.substr(1));
      return line.size();
    }
    name.assign(line.substr(1, close - 1));
    pos = close + 1;
  } else {
    while (pos < line.size() && !IsBlank(line[pos])) ++pos;
    name.assign(line.substr(0, pos));
  }
  return pos;
}

}  // namespace

std::vector<std::string> ParseCommandLineArguments(std::string_view line) {
  std::vector<std::string> arguments;
  std::string current;
  std::size_t pos = ParseProgramName(line, current);
  arguments.push_back(std::move(current));
  current.clear();

  while (true) {
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    if (pos >= line.size()) break;

    bool inQuotes = false;
    while (pos < line.size() && (inQuotes || !IsBlank(line[pos]))) {
      const char c = line[pos];
      if (c == '\\') {
        std::size_t slashes = 0;
        while (pos < line.size() && line[pos] == '\\') {
          ++slashes;
          ++pos;
        }
        if (pos < line.size() && line[pos] == '"') {
          current.append(slashes / 2, '\\');
          if (slashes % 2 == 1) {
            current.push_back('"');
            ++pos;
          }
        } else {
          current.append(slashes, '\\');
        }
      } else if (c == '"') {
        if (inQuotes && pos + 1 < line.size() && line[pos + 1] == '"') {
          current.push_back('"');
          pos += 2;
        } else {
          inQuotes = !inQuotes;
          ++pos;
        }
      } else {
        current.push_back(c);
        ++pos;
      }
    }
    arguments.push_back(std::move(current));
    current.clear();
  }
  return arguments;
}

std::string QuoteArgument(std::string_view text) {
  std::string quoted = "\"";
  std::size_t slashes = 0;
  for (const char c : text) {
    if (c == '\\') {
      ++slashes;
      continue;
    }
    // Backslashes before a quote are doubled, and the quote gets one more.
    quoted.append(c == '"' ? slashes * 2 + 1 : slashes, '\\');
    slashes = 0;
    quoted.push_back(c);
  }
  // Before the closing quote, too, backslashes are doubled.
  quoted.append(slashes * 2, '\\');
  quoted.push_back('"');
  return quoted;
}

const std::string& ProgramArguments::operator[](std::size_t index) const {
  static const std::string kEmpty;
  return index < arguments_.size() ? arguments_[index] : kEmpty;
}

}  // namespace bootmark
