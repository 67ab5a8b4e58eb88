#include "common/file_signer.h"

#include <gtest/gtest.h>

#include "fakes/fake_file_signer.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_system_ports.h"
#include "fakes/version_resource_builder.h"

namespace bootmark {
namespace {

namespace vb = testing::version_bytes;

constexpr const char* kExe = "C:\\Program Files\\Vendor\\app.exe";

TEST(FileSigner, SignerNameIsTrimmed) {
  testing::FakeFileSigner signer;
  signer.signers[kExe] = "  Tarvo Ltd.\t";
  EXPECT_EQ(GetFileSigner(signer, kExe), "Tarvo Ltd.");
  EXPECT_EQ(GetFileSigner(signer, "C:\\Windows\\notepad.exe"), "");
}

TEST(FileCompany, FallsBackThroughTheVersionStrings) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> strings;
    const char* givenDescription;
    const char* company;
    const char* description;
  };
  const Case cases[] = {
      {"company name", {{"CompanyName", " Tarvo "}, {"FileDescription", " Booster "}}, "", "Tarvo", "Booster"},
      {"trademarks when the company name is blank",
       {{"CompanyName", "  "}, {"LegalTrademarks", "Kestrune (TM)"}, {"ProductName", "Kestrune"}},
       "",
       "Kestrune (TM)",
       ""},
      {"product name", {{"ProductName", "Netwarden"}, {"FileDescription", "Guard"}}, "", "Netwarden", "Guard"},
      {"nothing filled", {{"Comments", "x"}}, "", "-", ""},
      {"a description given is kept", {{"FileDescription", "Guard"}}, "Mine", "Guard", "Mine"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    FakeFileSystem files;
    files.AddFile(kExe, "MZ");
    testing::FakeVersionResources versions;
    versions.Set(kExe, vb::English(test.strings));
    std::string description = test.givenDescription;
    std::string company;
    GetFileCompany(files, versions, kExe, description, company);
    EXPECT_EQ(company, test.company);
    EXPECT_EQ(description, test.description);
  }
}

TEST(FileCompany, NoFileGivesDash) {
  FakeFileSystem files;
  testing::FakeVersionResources versions;
  versions.Set(kExe, vb::English({{"CompanyName", "Tarvo"}}));
  std::string description = "kept";
  std::string company = "old";
  GetFileCompany(files, versions, kExe, description, company);  // the file does not exist
  EXPECT_EQ(company, "-");
  EXPECT_EQ(description, "kept");
}

}  // namespace
}  // namespace bootmark
