// The crash safety net's report: the logged line and the handler hook.
#include "app/crash_report.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace bootmark {
namespace {

TEST(CrashReport, LineNamesWhatFailedWhereAndInWhichMode) {
  const struct {
    std::exception_ptr failure;
    std::uintptr_t address;
    const char* mode;
    const char* line;
  } cases[] = {
      {std::make_exception_ptr(std::bad_alloc()), 0, "/AddAutoRun",
       "Unhandled failure: std::bad_alloc: std::bad_alloc in /AddAutoRun"},
      {std::make_exception_ptr(std::runtime_error("COM error 0x80004005")), 0, "",
       "Unhandled failure: std::runtime_error: COM error 0x80004005"},
      {std::make_exception_ptr(42), 0, "/BootTask", "Unhandled failure: unknown exception in /BootTask"},
      {nullptr, 0, "", "Unhandled failure: no exception"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CrashLogLine(CrashReport{DescribeException(c.failure), c.address, c.mode, {}}), c.line);
  }
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
