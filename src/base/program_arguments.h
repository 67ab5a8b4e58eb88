#pragma once
// The program's command-line arguments, split by the Windows rules.
#include <string>
#include <string_view>
#include <vector>

namespace bootmark {

// Splits a Windows command line the way the C runtime does for argv:
// blanks and tabs separate arguments; a double quote toggles quoting; 2n
// backslashes before a quote give n backslashes and the quote acts, 2n+1 give n
// backslashes and a literal quote; inside quotes "" gives a literal quote.
// The first argument (the executable) ends at the first blank outside quotes and
// keeps backslashes as they stand.
std::vector<std::string> ParseCommandLineArguments(std::string_view commandLine);

// One argument written for a command line so that the receiving program parses
// it back exactly (by the rules above, which CommandLineToArgvW and the C
// runtime share): in double quotes, each quote in it as \", and the backslashes
// before a quote or before the closing quote doubled. A text without quotes and
// without a trailing backslash is just enclosed in quotes.
std::string QuoteArgument(std::string_view text);

class ProgramArguments {
 public:
  ProgramArguments() = default;
  explicit ProgramArguments(std::vector<std::string> arguments) : arguments_(std::move(arguments)) {}
  static ProgramArguments FromCommandLine(std::string_view commandLine) {
    return ProgramArguments(ParseCommandLineArguments(commandLine));
  }

  // Argument `index` (0 = the executable, 1 = the switch); a missing one reads as "".
  const std::string& operator[](std::size_t index) const;
  std::size_t Count() const { return arguments_.size(); }

 private:
  std::vector<std::string> arguments_;
};

}  // namespace bootmark
