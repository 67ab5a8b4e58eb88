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
    {"Comments", "Checks startup items"},   {"CompanyName", "Tarvo"},
    {"FileDescription", "Bootmark"},        {"FileVersion", "1.2 beta"},
    {"InternalName", "Bootmark"},           {"LegalCopyright", "Copyright (C) Tarvo"},
    {"LegalTrademarks", "Kestrune(TM)"},    {"OriginalFilename", "Bootmark.exe"},
    {"ProductName", "Kestrune"},            {"ProductVersion", "19.0"},
    {"WOW Version", "3"}};

std::string EnglishResource() {
  return vb::Root(vb::FixedFileInfo(1, 2, 3, 4),
                  {vb::StringFileInfo({vb::Table("040904B0", kEnglishStrings)}), vb::VarFileInfo({{0x0409, 0x04B0}})});
}

struct IndexCase {
  int index;
  const char* expected;
  const char* expectedNumeric;
};

class FieldByIndexTest : public ::testing::TestWithParam<IndexCase> {};

TEST_P(FieldByIndexTest, EachIndexNamesOneStringAndOnlyFileVersionDiffersInTheNumericVariant) {
  testing::FakeVersionResources versions;
  versions.Set("C:\\App\\Bootmark.exe", EnglishResource());
  EXPECT_EQ(GetFileVersionField(versions, "c:\\app\\BOOTMARK.exe", GetParam().index, "none"), GetParam().expected);
  EXPECT_EQ(GetFileVersionFieldNumeric(versions, "C:\\App\\Bootmark.exe", GetParam().index, "none"),
            GetParam().expectedNumeric);
}

INSTANTIATE_TEST_SUITE_P(Indexes, FieldByIndexTest,
                         ::testing::Values(IndexCase{0, "Checks startup items", "Checks startup items"},
                                           IndexCase{1, "Tarvo", "Tarvo"}, IndexCase{2, "Bootmark", "Bootmark"},
                                           IndexCase{3, "1.2 beta", "1.2.3.4"}, IndexCase{4, "Bootmark", "Bootmark"},
                                           IndexCase{5, "Copyright (C) Tarvo", "Copyright (C) Tarvo"},
                                           IndexCase{6, "Kestrune(TM)", "Kestrune(TM)"},
                                           IndexCase{7, "Bootmark.exe", "Bootmark.exe"},
                                           IndexCase{8, "Kestrune", "Kestrune"}, IndexCase{9, "19.0", "19.0"},
                                           IndexCase{10, "3", "3"}, IndexCase{11, "", ""}, IndexCase{-1, "", ""}));

struct TableCase {
  const char* name;
  std::string bytes;
  const char* expectedCompany;
};

class StringTableChoiceTest : public ::testing::TestWithParam<TableCase> {};

TEST_P(StringTableChoiceTest, FirstTranslationNamesTheTableElseTheFirstTableIsRead) {
  const std::optional<VersionResource> resource = VersionResource::Parse(GetParam().bytes);
  ASSERT_TRUE(resource.has_value());
  EXPECT_EQ(ReadFileVersionFields(*resource, kExtraVersionString, FileVersionSource::kString).CompanyName,
            GetParam().expectedCompany);
}

const std::string kGerman = vb::Table("040704B0", {{"CompanyName", "Tarvo GmbH"}});
const std::string kFrench = vb::Table("040C04E4", {{"CompanyName", "Tarvo SARL"}});

INSTANTIATE_TEST_SUITE_P(
    Tables, StringTableChoiceTest,
    ::testing::Values(
        TableCase{"SecondTableNamedByTranslation",
                  vb::Root(vb::FixedFileInfo(1, 0, 0, 0),
                           {vb::StringFileInfo({kGerman, kFrench}), vb::VarFileInfo({{0x040C, 0x04E4}})}),
                  "Tarvo SARL"},
        TableCase{"OnlyTheFirstTranslationCounts",
                  vb::Root(vb::FixedFileInfo(1, 0, 0, 0),
                           {vb::StringFileInfo({kGerman, kFrench}),
                            vb::VarFileInfo({{0x0407, 0x04B0}, {0x040C, 0x04E4}})}),
                  "Tarvo GmbH"},
        TableCase{"TranslationWithoutItsTableFallsBackToTheFirst",
                  vb::Root(vb::FixedFileInfo(1, 0, 0, 0),
                           {vb::StringFileInfo({kFrench, kGerman}), vb::VarFileInfo({{0x0409, 0x04B0}})}),
                  "Tarvo SARL"},
        TableCase{"NoTranslationAtAll",
                  vb::Root(vb::FixedFileInfo(1, 0, 0, 0), {vb::StringFileInfo({kGerman, kFrench})}),
                  "Tarvo GmbH"},
        TableCase{"TableNamedInLowerCase",
                  vb::Root(vb::FixedFileInfo(1, 0, 0, 0),
                           {vb::StringFileInfo({kGerman, vb::Table("040c04e4", {{"CompanyName", "lower"}})}),
                            vb::VarFileInfo({{0x040C, 0x04E4}})}),
                  "lower"},
        TableCase{"VarFileInfoFirst",
                  vb::Root(vb::FixedFileInfo(1, 0, 0, 0),
                           {vb::VarFileInfo({{0x040C, 0x04E4}}), vb::StringFileInfo({kGerman, kFrench})}),
                  "Tarvo SARL"},
        TableCase{"NoStringTables",
                  vb::Root(vb::FixedFileInfo(1, 0, 0, 0), {vb::VarFileInfo({{0x0409, 0x04B0}})}), ""}),
    [](const ::testing::TestParamInfo<TableCase>& test) { return std::string(test.param.name); });

TEST(FileVersionFieldsTest, StringKeysMatchWithoutRegardToCaseAndMissingOnesAreEmpty) {
  const std::string bytes = vb::Root(
      vb::FixedFileInfo(5, 6, 7, 8),
      {vb::StringFileInfo({vb::Table("040904E4", {{"companyname", "Tarvo"},
                                                  {"ORIGINALFILENAME", "KST.exe"},
                                                  {"Build Note", "nightly \xC3\xA9t\xC3\xA9"}})}),
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

TEST(FileVersionFieldsTest, NumericVersionUsesTheWholeRangeOfEachPart) {
  const std::optional<VersionResource> resource = VersionResource::Parse(
      vb::Root(vb::FixedFileInfo(65535, 0, 10, 65534), {vb::StringFileInfo({vb::Table("040904B0", {})})}));
  ASSERT_TRUE(resource.has_value());
  EXPECT_EQ(ReadFileVersionFields(*resource, "", FileVersionSource::kNumeric).FileVersion, "65535.0.10.65534");
}

TEST(FileVersionFieldsTest, WithoutAFixedBlockTheNumericVersionIsEmpty) {
  const std::optional<VersionResource> resource =
      VersionResource::Parse(vb::Root("", {vb::StringFileInfo({vb::Table("040904B0", {{"FileVersion", "2"}})})}));
  ASSERT_TRUE(resource.has_value());
  EXPECT_EQ(ReadFileVersionFields(*resource, "", FileVersionSource::kString).FileVersion, "2");
  EXPECT_EQ(ReadFileVersionFields(*resource, "", FileVersionSource::kNumeric).FileVersion, "");
}

struct DefaultCase {
  const char* name;
  std::optional<std::string> bytes;  // nullopt: the file has no version information
  const char* expected;
};

class NoVersionInformationTest : public ::testing::TestWithParam<DefaultCase> {};

TEST_P(NoVersionInformationTest, GivesTheDefaultTextForEveryIndex) {
  testing::FakeVersionResources versions;
  if (GetParam().bytes) versions.Set("C:\\x.exe", *GetParam().bytes);
  for (int index : {1, 3, 12}) {
    SCOPED_TRACE(index);
    EXPECT_EQ(GetFileVersionField(versions, "C:\\x.exe", index, "19.0.0.0"), GetParam().expected);
    EXPECT_EQ(GetFileVersionFieldNumeric(versions, "C:\\x.exe", index, "19.0.0.0"), GetParam().expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, NoVersionInformationTest,
    ::testing::Values(DefaultCase{"NoResource", std::nullopt, "19.0.0.0"},
                      DefaultCase{"TooShort", std::string("\x10\x00\x00", 3), "19.0.0.0"},
                      DefaultCase{"LengthBeyondTheBytes", EnglishResource().substr(0, 200), "19.0.0.0"},
                      DefaultCase{"SixteenBitForm", std::string("\x20\x00\x00\x00VS_VERSION_INFO\0", 20), "19.0.0.0"}),
    [](const ::testing::TestParamInfo<DefaultCase>& test) { return std::string(test.param.name); });

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
                {vb::Block("CompanyName", true, vb::Utf16Bytes("Tarvo", true), {}, 12),    // stated in bytes
                 vb::Block("ProductName", true, vb::Utf16Bytes("Kestrune", false), {}, 8),  // without its zero
                 vb::Block("Comments", true, vb::Utf16Bytes("x", true), {}, 0)});            // stated empty
  const std::string bytes = vb::Root(vb::FixedFileInfo(1, 0, 0, 0), {vb::StringFileInfo({table})});
  const std::optional<VersionResource> resource = VersionResource::Parse(bytes);
  ASSERT_TRUE(resource.has_value());
  const FileVersionFields fields = ReadFileVersionFields(*resource, "", FileVersionSource::kString);
  EXPECT_EQ(fields.CompanyName, "Tarvo");
  EXPECT_EQ(fields.ProductName, "Kestrune");
  EXPECT_EQ(fields.Comments, "");
}

TEST(VersionResourceTest, FindWalksKeysWithoutRegardToCase) {
  const std::optional<VersionResource> resource = VersionResource::Parse(EnglishResource());
  ASSERT_TRUE(resource.has_value());
  EXPECT_EQ(resource->Find("\\"), &resource->Root());
  const VersionBlock* company = resource->Find("\\stringfileinfo\\040904b0\\COMPANYNAME");
  ASSERT_NE(company, nullptr);
  EXPECT_EQ(VersionResource::Text(*company), "Tarvo");
  EXPECT_EQ(resource->Find("\\StringFileInfo\\040904B0\\Missing"), nullptr);
  EXPECT_EQ(resource->Find("\\VarFileInfo\\Translation\\Deeper"), nullptr);
}

}  // namespace
}  // namespace bootmark
