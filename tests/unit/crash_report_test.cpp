// The crash safety net's report: the logged line and the handler hook.
#include "app/crash_report.h"

#include <gtest/gtest.h>

#include <new>
#include <ios>
#include <stdexcept>
#include <system_error>

namespace bootmark {
namespace {

TEST(CrashReport, LineNamesWhatFailedWhereAndInWhichModeAndItsKind) {
  const struct {
    std::exception_ptr failure;
    const char* mode;
    const char* line;
    const char* className;
  } cases[] = {
      {std::make_exception_ptr(std::bad_alloc()), "/AddAutoRun",
       "Unhandled failure: std::bad_alloc: std::bad_alloc in /AddAutoRun", "EOutOfMemory"},
      {std::make_exception_ptr(std::runtime_error("COM error 0x80004005")), "",
       "Unhandled failure: std::runtime_error: COM error 0x80004005", "Exception"},
      {std::make_exception_ptr(42), "/BootTask", "Unhandled failure: unknown exception in /BootTask", "Unknown"},
      {nullptr, "", "Unhandled failure: no exception", "Unknown"},
      {std::make_exception_ptr(std::system_error(5, std::system_category())), "", nullptr, "EOSError"},
      {std::make_exception_ptr(std::system_error(1450, std::system_category())), "", nullptr, "EOutOfResources"},
      {std::make_exception_ptr(std::ios_base::failure("read")), "", nullptr, "EReadError"},
  };
  for (const auto& c : cases) {
    CrashReport report = ReportException(c.failure);
    EXPECT_EQ(report.className, c.className);
    report.mode = c.mode;
    if (c.line != nullptr) {
      EXPECT_EQ(CrashLogLine(report), c.line);
    }
  }
  EXPECT_EQ(CrashClassNameOfCode(0xC0000005u), "EAccessViolation");
  EXPECT_EQ(CrashClassNameOfCode(0xE0434F4Du), "EExternalException");
  const std::string fault = CrashLogLine(CrashReport{DescribeExceptionCode(0xC0000005u), 0x1234, "/DNSChange", {}});
  EXPECT_EQ(fault, "Unhandled failure: exception 0xC0000005 at 0x" + std::string(sizeof(void*) * 2 - 4, '0') +
                       "1234 in /DNSChange");
}

TEST(CrashReport, OneHandlerRunsAndItsOwnFailureIsContained) {
  int calls = 0;
  SetCrashHandler([&calls](const CrashReport&) -> bool {
    ++calls;
    throw std::runtime_error("the handler failed too");
  });
  EXPECT_FALSE(RunCrashHandler(CrashReport{"x", 0, "", {}}));
  SetCrashHandler([](const CrashReport& report) { return report.className == "EOSError"; });
  EXPECT_TRUE(RunCrashHandler(CrashReport{"x", 0, "", "EOSError"}));
  SetCrashHandler({});
  EXPECT_FALSE(RunCrashHandler(CrashReport{"x", 0, "", "EOSError"}));
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace bootmark
