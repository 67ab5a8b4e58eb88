#include "base/program_arguments.h"

#include <gtest/gtest.h>

namespace bootmark {
namespace {

struct SplitCase {
  const char* commandLine;
  std::vector<std::string> expected;
};

TEST(ProgramArguments, SplitsByTheWindowsRules) {
  const SplitCase cases[] = {
      {R"("C:\Program Files\Tarvo\Kestrune\Bootmark.exe" /BootTask)",
       {R"(C:\Program Files\Tarvo\Kestrune\Bootmark.exe)", "/BootTask"}},
      {R"(Bootmark.exe   /AddAutoRun	/1  /4A42 /)", {"Bootmark.exe", "/AddAutoRun", "/1", "/4A42", "/"}},
      {R"(Bootmark.exe "a b" c"d e"f)", {"Bootmark.exe", "a b", "cd ef"}},
      {R"(Bootmark.exe a\\\"b "c\\" d\e)", {"Bootmark.exe", R"(a\"b)", R"(c\)", R"(d\e)"}},
      {R"(Bootmark.exe "say ""hi""")", {"Bootmark.exe", R"(say "hi")"}},
      {R"(Bootmark.exe "")", {"Bootmark.exe", ""}},
      {R"("C:\dir\" /x)", {R"(C:\dir\)", "/x"}},  // the program name keeps its backslashes
      {R"("unterminated /x)", {"unterminated /x"}},
      {"", {""}}, {"Bootmark.exe   ", {"Bootmark.exe"}},
  };
  for (const SplitCase& testCase : cases) {
    SCOPED_TRACE(testCase.commandLine);
    EXPECT_EQ(ParseCommandLineArguments(testCase.commandLine), testCase.expected);
  }
}

TEST(ProgramArguments, MissingArgumentsReadAsEmpty) {
  const ProgramArguments arguments = ProgramArguments::FromCommandLine("Bootmark.exe /AddAutoRun /1");
  EXPECT_EQ(arguments[1], "/AddAutoRun");
  EXPECT_EQ(arguments[2], "/1");
  EXPECT_EQ(arguments[3], "");
  EXPECT_EQ(arguments[99], "");
}

}  // namespace
}  // namespace bootmark
