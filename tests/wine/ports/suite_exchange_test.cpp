// The suite's data-exchange port on a real system, against the stand-in of the suite's
// library (bmstatewell.dll): what the library's export receives and how its answer
// comes back. What the program sends and what it does with a refusal are rules,
// tested natively (notification center, item actions).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "base/path.h"
#include "base/text.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_suite_exchange.h"
#include "scratch_folder.h"

namespace bootmark::win32 {
namespace {

using testing::FileBytes;
using testing::ScratchFolder;
using testing::WriteFileBytes;

std::string OwnFolder() {
  wchar_t path[MAX_PATH + 1] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  return ExtractFilePath(Narrow(std::wstring_view(path)));
}

TEST(Win32SuiteExchange, ExportGetsUtf16DataWithItsSizeAndAnEmptyReplyBuffer) {
  ScratchFolder folder;
  const std::string library = folder / "Statewell.dll";
  ASSERT_TRUE(::CopyFileW(Wide(OwnFolder() + "bmstatewell.dll").c_str(), Wide(library).c_str(), FALSE));
  Win32SuiteExchange exchange;
  const std::string data = "NC_MSG=msgid:3|dataEx:1+++Upd\xC3\xA4ter+++C:\\Tools\\upd.exe /s";

  // No reply file: the library answers false.
  EXPECT_FALSE(exchange.SendData(library, "Kestrune State", data));
  WriteFileBytes(folder / "Statewell.reply.txt", "taken \xC3\xA9");
  EXPECT_EQ(exchange.SendData(library, "Kestrune State", data), std::optional<std::string>("taken \xC3\xA9"));
  EXPECT_FALSE(exchange.SendData(folder / "missing.dll", "Kestrune State", data));

  const std::string expected = "Kestrune State\tterminated" + std::to_string((Utf8ToUtf16(data).size() + 1) * 2) +
                               "\t4096\tempty\t" + data + "\n";
  EXPECT_EQ(FileBytes(folder / "Statewell.calls.txt"), expected + expected);
}

}  // namespace
}  // namespace bootmark::win32
