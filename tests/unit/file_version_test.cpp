// Version information of files: reading the resource bytes, choosing the string
// table, the fields by index and the numeric file version.
#include "common/file_version.h"

#include <gtest/gtest.h>

#include "fakes/fake_system_ports.h"
#include "fakes/version_resource_builder.h"

namespace bootmark {
namespace {

namespace vb = testing::version_bytes;

const std::vector<std::pair<std::string, std::string>> kEnglishStrings{
    {"CompanyName", "Tarvo"}, {"FileVersion", "1.2 beta"}, {"ProductName", "Kestrune"}};

std::string EnglishResource() { return vb::English(kEnglishStrings, vb::FixedFileInfo(1, 2, 3, 4)); }

// The indexes the program asks for; those beyond the fields name nothing.
TEST(FileVersionFieldTest, EachIndexNamesOneString) {
  testing::FakeVersionResources versions;
  versions.Set("C:\\App\\Bootmark.exe", EnglishResource());
  const std::pair<int, const char*> cases[] = {{1, "Tarvo"}, {3, "1.2 beta"}, {8, "Kestrune"}, {-1, ""}, {11, ""}};
  for (const auto& [index, text] : cases) {
    EXPECT_EQ(GetFileVersionField(versions, "c:\\app\\BOOTMARK.exe", index, "none"), text) << index;
  }
}

TEST(FileVersionFieldsTest, FirstTranslationNamesTheTableElseTheFirstTableIsRead) {
  const std::string german = vb::Table("040704B0", {{"CompanyName", "Tarvo GmbH"}});
  const std::string french = vb::Table("040C04E4", {{"CompanyName", "Tarvo SARL"}});
  const std::string lower = vb::Table("040c04e4", {{"CompanyName", "lower"}});
  const struct {
    const char* name;
    std::vector<std::string> children;
    const char* company;
  } cases[] = {
      {"SecondTableNamedByTranslation",
       {vb::StringFileInfo({german, french}), vb::VarFileInfo({{0x040C, 0x04E4}})},
       "Tarvo SARL"},
      {"OnlyTheFirstTranslationCounts",
       {vb::StringFileInfo({german, french}), vb::VarFileInfo({{0x0407, 0x04B0}, {0x040C, 0x04E4}})},
       "Tarvo GmbH"},
      {"TranslationWithoutItsTableFallsBackToTheFirst",
       {vb::StringFileInfo({french, german}), vb::VarFileInfo({{0x0409, 0x04B0}})},
       "Tarvo SARL"},
      {"NoTranslationAtAll", {vb::StringFileInfo({german, french})}, "Tarvo GmbH"},
      {"TableNamedInLowerCase", {vb::StringFileInfo({german, lower}), vb::VarFileInfo({{0x040C, 0x04E4}})}, "lower"},
      {"VarFileInfoFirst", {vb::VarFileInfo({{0x040C, 0x04E4}}), vb::StringFileInfo({german, french})}, "Tarvo SARL"},
      {"NoStringTables", {vb::VarFileInfo({{0x0409, 0x04B0}})}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<VersionResource> resource =
        VersionResource::Parse(vb::Root(vb::FixedFileInfo(1, 0, 0, 0), c.children));
    ASSERT_TRUE(resource.has_value());
    EXPECT_EQ(ReadFileVersionFields(*resource, kExtraVersionString, FileVersionSource::kString).CompanyName, c.company);
  }
}

TEST(FileVersionFieldsTest, StringKeysMatchWithoutRegardToCaseAndMissingOnesAreEmpty) {
  const std::string bytes = vb::Root(
      vb::FixedFileInfo(5, 6, 7, 8),
      {vb::StringFileInfo({vb::Table(
           "040904E4",
           {{"companyname", "Tarvo"}, {"ORIGINALFILENAME", "KST.exe"}, {"Build Note", "nightly \xC3\xA9t\xC3\xA9"}})}),
       vb::VarFileInfo({{0x0409, 0x04E4}})});
  const std::optional<VersionResource> resource = VersionResource::Parse(bytes);
  ASSERT_TRUE(resource.has_value());
  const FileVersionFields fields = ReadFileVersionFields(*resource, "build note", FileVersionSource::kString);
  EXPECT_EQ(fields.CompanyName, "Tarvo");
  EXPECT_EQ(fields.OriginalFileName, "KST.exe");
  EXPECT_EQ(fields.ExtraString, "nightly \xC3\xA9t\xC3\xA9");
  EXPECT_EQ(fields.FileVersion, "");
  EXPECT_EQ(fields.ProductName, "");
  EXPECT_EQ(ReadFileVersionFields(*resource, "", FileVersionSource::kNumeric).FileVersion, "5.6.7.8");
}

// Each part of the fixed block's version uses its whole range; without the block
// the numeric version is empty while the string one is still read.
TEST(FileVersionFieldsTest, NumericVersionComesFromTheFixedBlock) {
  const struct {
    std::string fixed;
    const char* text;
    const char* numeric;
  } cases[] = {{vb::FixedFileInfo(65535, 0, 10, 65534), "2", "65535.0.10.65534"}, {"", "2", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.numeric);
    const std::optional<VersionResource> resource = VersionResource::Parse(
        vb::Root(c.fixed, {vb::StringFileInfo({vb::Table("040904B0", {{"FileVersion", "2"}})})}));
    ASSERT_TRUE(resource.has_value());
    EXPECT_EQ(ReadFileVersionFields(*resource, "", FileVersionSource::kString).FileVersion, c.text);
    EXPECT_EQ(ReadFileVersionFields(*resource, "", FileVersionSource::kNumeric).FileVersion, c.numeric);
  }
}

TEST(FileVersionFieldTest, FilesWithoutVersionInformationGiveTheDefaultText) {
  const struct {
    const char* name;
    std::optional<std::string> bytes;  // nullopt: the file has no version information
  } cases[] = {{"NoResource", std::nullopt},
               {"TooShort", std::string("\x10\x00\x00", 3)},
               {"LengthBeyondTheBytes", EnglishResource().substr(0, 200)},
               {"SixteenBitForm", std::string("\x20\x00\x00\x00VS_VERSION_INFO\0", 20)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::FakeVersionResources versions;
    if (c.bytes) versions.Set("C:\\x.exe", *c.bytes);
    EXPECT_EQ(GetFileVersionField(versions, "C:\\x.exe", 3, "19.0.0.0"), "19.0.0.0");
  }
}

TEST(VersionResourceTest, RoomTheSystemKeepsAfterTheResourceIsIgnored) {
  // GetFileVersionInfoW's buffer is larger than the resource it holds.
  const std::string bytes = EnglishResource() + std::string(300, '\x7F');
  const std::optional<VersionResource> resource = VersionResource::Parse(bytes);
  ASSERT_TRUE(resource.has_value());
  EXPECT_EQ(resource->Root().children.size(), 2u);
  EXPECT_EQ(resource->FirstTranslation(), (Translation{0x0409, 0x04B0}));
  EXPECT_EQ(resource->FileVersion(), (FixedFileVersion{1, 2, 3, 4}));
}

TEST(VersionResourceTest, ChildThatLeavesItsParentEndsTheListThere) {
  std::string table = vb::Table("040904B0", {{"CompanyName", "Tarvo"}, {"ProductName", "Kestrune"}});
  // The second string claims more bytes than its table has.
  const std::size_t second = table.find(vb::Utf16Bytes("ProductName", false)) - 6;
  table[second] = '\x7F';
  const std::optional<VersionResource> resource =
      VersionResource::Parse(vb::Root(vb::FixedFileInfo(1, 0, 0, 0), {vb::StringFileInfo({table})}));
  ASSERT_TRUE(resource.has_value());
  const FileVersionFields fields = ReadFileVersionFields(*resource, "", FileVersionSource::kString);
  EXPECT_EQ(fields.CompanyName, "Tarvo");
  EXPECT_EQ(fields.ProductName, "");
}

TEST(VersionResourceTest, TextEndsAtItsFirstZeroOrAtItsBlock) {
  // Compilers that state the length in bytes, or leave the zero out.
  const std::string table =
      vb::Block("040904B0", true, "",
                {vb::Block("CompanyName", true, vb::Utf16Bytes("Tarvo", true), {}, 12),     // stated in bytes
                 vb::Block("ProductName", true, vb::Utf16Bytes("Kestrune", false), {}, 8),  // without its zero
                 vb::Block("Comments", true, vb::Utf16Bytes("x", true), {}, 0)});           // stated empty
  const std::string bytes = vb::Root(vb::FixedFileInfo(1, 0, 0, 0), {vb::StringFileInfo({table})});
  const std::optional<VersionResource> resource = VersionResource::Parse(bytes);
  ASSERT_TRUE(resource.has_value());
  const FileVersionFields fields = ReadFileVersionFields(*resource, "", FileVersionSource::kString);
  EXPECT_EQ(fields.CompanyName, "Tarvo");
  EXPECT_EQ(fields.ProductName, "Kestrune");
  EXPECT_EQ(fields.Comments, "");
}

TEST(VersionResourceTest, BlocksNestedBeyondEightLevelsAreNotRead) {
  std::string block = vb::Block("k", false, "");
  for (int i = 0; i < 11; ++i) block = vb::Block("k", false, "", {block});
  const std::optional<VersionResource> resource = VersionResource::Parse(block);
  ASSERT_TRUE(resource.has_value());
  int levels = 0;
  for (const VersionBlock* b = &resource->Root(); !b->children.empty(); b = &b->children.front()) ++levels;
  EXPECT_EQ(levels, 8);
}

}  // namespace
}  // namespace bootmark
