#include "base/program_arguments.h"

#include <gtest/gtest.h>

namespace bootmark {
namespace {

TEST(ProgramArguments, SplitsByTheWindowsRules) {
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {R"(Bootmark.exe   /AddAutoRun	/1  /4A42 /)", {"Bootmark.exe", "/AddAutoRun", "/1", "/4A42", "/"}},
      {R"(Bootmark.exe "a b" c"d e"f)", {"Bootmark.exe", "a b", "cd ef"}},
      {R"(Bootmark.exe a\\\"b "c\\" d\e)", {"Bootmark.exe", R"(a\"b)", R"(c\)", R"(d\e)"}},
      {R"(Bootmark.exe "say ""hi""")", {"Bootmark.exe", R"(say "hi")"}},
      {R"("C:\dir\" /x)", {R"(C:\dir\)", "/x"}},  // the program name keeps its backslashes
      {R"("unterminated /x)", {"unterminated /x"}},
      {"", {""}}, {"Bootmark.exe   ", {"Bootmark.exe"}},
  };
  for (const auto& [commandLine, expected] : cases) {
    EXPECT_EQ(ParseCommandLineArguments(commandLine), expected) << commandLine;
  }
}

// Every text comes back as the one field it was sent as, whatever quotes,
// backslashes and blanks it holds.
TEST(QuoteArgument, FieldsRoundTripThroughTheParser) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "\"\""},
      {"C:\\Tools\\", "\"C:\\Tools\\\\\""},
      {"\"C:\\x.exe\" -min", "\"\\\"C:\\x.exe\\\" -min\""},
      {"a\\\"b", "\"a\\\\\\\"b\""},
      {"tab\tand  blanks", "\"tab\tand  blanks\""},
  };
  for (const auto& [text, quoted] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(QuoteArgument(text), quoted);
    const std::vector<std::string> parsed =
        ParseCommandLineArguments("x.exe " + QuoteArgument(text) + " " + QuoteArgument("next"));
    EXPECT_EQ(parsed, (std::vector<std::string>{"x.exe", text, "next"}));
  }
}

TEST(ProgramArguments, MissingArgumentsReadAsEmpty) {
  const ProgramArguments arguments = ProgramArguments::FromCommandLine("Bootmark.exe /AddAutoRun /1");
  EXPECT_EQ(arguments[2], "/1");
  EXPECT_EQ(arguments[3], "");
  EXPECT_EQ(arguments[99], "");
}

}  // namespace
}  // namespace bootmark
