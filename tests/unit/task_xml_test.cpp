#include "startup/task_xml.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "startup/task_xml_store.h"
#include "fakes/fake_file_system.h"
#include "fakes/utf16_file.h"

namespace bootmark {
namespace {

using testing::Utf16File;
using testing::Utf16Units;

constexpr std::string_view kDocument =
    "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<!-- note -->\n"
    "<t:Task version=\"1.2\" xmlns:t=\"urn:x\"><t:A k='v &amp; w'>x &lt; y &#x20AC;&#65;</t:A>"
    "<B><![CDATA[<raw>]]></B><C/></t:Task>\n";

TEST(ParseXmlDocumentTest, ReadsEveryEncodingTheStoreHolds) {
  for (const std::string& bytes : {std::string(kDocument), "\xEF\xBB\xBF" + std::string(kDocument),
                                   Utf16File(kDocument), Utf16Units(kDocument),
                                   Utf16File(kDocument, true), Utf16Units(kDocument, true)}) {
    const auto root = ParseXmlDocument(bytes);
    ASSERT_TRUE(root);
    EXPECT_EQ(root->name, "Task");
    EXPECT_EQ(root->Attribute("version"), "1.2");
    ASSERT_EQ(root->children.size(), 3u);
    EXPECT_EQ(root->ChildText("A"), "x < y \xE2\x82\xAC" "A");
    EXPECT_EQ(root->children[0].Attribute("k"), "v & w");
    EXPECT_EQ(root->ChildText("B"), "<raw>");
    EXPECT_EQ(root->ChildText("C"), "");
    EXPECT_FALSE(root->ChildText("D"));
  }
}

TEST(ParseXmlDocumentTest, RefusesMalformedDocuments) {
  for (const char* text : {"", "<a>", "<a></b>", "<a><b></a></b>", "<a x=1/>", "<a x='1'y='2'/>",
                           "<a>&bogus;</a>", "<a>&#0;</a>", "<a>&#xD800;</a>", "<a/><b/>", "text<a/>",
                           "<a><!-- open</a>", "<a><![CDATA[x</a>", "<a><![CDATA[", "<a x='<'/>", "<a x='a<b'/>",
                           "<a x='&bogus;'/>", "\xFF\xFE<",
                           "<a>\xC0\x80</a>", "<a", "<a/", "<a/ >", "<a x='1'", "<a></a", "<a></a x>",
                           "<a>&#x110000;</a>", "<a>&#xDFFF;</a>", "<a>&#x;</a>", "<a>&#65</a>", "<a>&#x4G;</a>",
                           "<!DOCTYPE a [<!ENTITY e 'x'>]<a/>", "<!DOCTYPE a [[]><a/>", "<a/><!DOCTYPE a"}) {
    EXPECT_FALSE(ParseXmlDocument(text)) << text;
  }
}

TEST(ParseXmlDocumentTest, CharacterReferencesAndTypeDeclarations) {
  const std::pair<const char*, const char*> cases[] = {
      // Each side of the one-, two-, three- and four-byte UTF-8 forms.
      {"<a>&#x7F;&#128;</a>", "\x7F\xC2\x80"}, {"<a>&#x7FF;&#x800;</a>", "\xDF\xBF\xE0\xA0\x80"},
      {"<a>&#xFFFF;&#x10000;</a>", "\xEF\xBF\xBF\xF0\x90\x80\x80"}, {"<a>&#x10FFFF;</a>", "\xF4\x8F\xBF\xBF"},
      {"<a>&#xa0;&#xA0;&#9;</a>", "\xC2\xA0\xC2\xA0\t"},
      {"<a>\xC2\x80\xDF\xBF</a>", "\xC2\x80\xDF\xBF"}, {"<a>&#xd7ff;&#xE000;</a>", "\xED\x9F\xBF\xEE\x80\x80"},
      // A type declaration ends at the first ">" outside its brackets.
      {"<!DOCTYPE a><a>x</a>", "x"}, {"<!DOCTYPE a [<!ENTITY e 'x'>]><a>y</a>", "y"},
      {"<!DOCTYPE a [[x]>]]><a>z</a>", "z"},
  };
  for (const auto& [document, text] : cases) {
    SCOPED_TRACE(document);
    const auto root = ParseXmlDocument(document);
    ASSERT_TRUE(root);
    EXPECT_EQ(root->text, text);
  }
}

TEST(ParseTaskDefinitionTest, MonthlyDaysAndMonthsAreBits) {
  const auto definition = ParseTaskDefinition(
      "<Task version='1.3'><Triggers><CalendarTrigger><ScheduleByMonth><DaysOfMonth><Day>0</Day><Day>1</Day>"
      "<Day> 31 </Day><Day>32</Day><Day>-1</Day><Other>2</Other></DaysOfMonth><Months><January/><December/>"
      "</Months></ScheduleByMonth></CalendarTrigger></Triggers></Task>");
  ASSERT_EQ(definition->TriggerCount(), 1);
  const auto trigger = definition->Trigger(1);
  EXPECT_EQ(trigger->Type(), 4);
  EXPECT_EQ(static_cast<std::uint32_t>(trigger->DaysOfMonth()), 0x40000001u);
  EXPECT_EQ(trigger->MonthsOfYear(), 0x801);
}

// The schema version "1.<digit>" is the compatibility level; anything else is level 2.
TEST(ParseTaskDefinitionTest, CompatibilityFollowsTheSchemaVersion) {
  const std::pair<const char*, int> cases[] = {
      {"<Task version='1.3'/>", 3}, {"<Task/>", 2}, {"<Task version='2.3'/>", 2}, {"<Task version='1,3'/>", 2},
      {"<Task version='1.0'/>", 2}, {"<Task version='1.9'/>", 9}, {"<Task version='1.33'/>", 2}};
  for (const auto& [document, level] : cases) {
    TaskSettingsValues settings;
    ParseTaskDefinition(document)->ReadSettings(settings);
    EXPECT_EQ(settings.compatibility, level) << document;
  }
}

// A number is read over the whole 32-bit range; one below it gives the default.
TEST(ParseTaskDefinitionTest, NumbersKeepToThe32BitRange) {
  const std::pair<const char*, std::int32_t> cases[] = {{"-2147483648", INT32_MIN}, {"-2147483649", 7}};
  for (const auto& [text, priority] : cases) {
    TaskSettingsValues settings;
    ParseTaskDefinition("<Task><Settings><Priority>" + std::string(text) + "</Priority></Settings></Task>")
        ->ReadSettings(settings);
    EXPECT_EQ(settings.priority, priority) << text;
  }
}

TEST(TaskXmlStoreTest, CreatesOnlyNamedFoldersInsideTheStore) {
  FakeFileSystem files;
  files.AddDirectory("C:\\Tasks");
  TaskXmlStore store(files, "C:\\Tasks");
  for (const char* refused : {"", "\\", "A\\..\\B"}) EXPECT_FALSE(store.CreateFolder(refused)) << refused;
  EXPECT_TRUE(store.CreateFolder("A\\B"));
  EXPECT_TRUE(files.DirectoryExists("C:\\Tasks\\A\\B"));
}

TEST(ParseXmlDocumentTest, KeepsWithinItsLimits) {
  std::string deep;
  for (int i = 0; i < 40; ++i) deep += "<a>";
  for (int i = 0; i < 40; ++i) deep += "</a>";
  EXPECT_FALSE(ParseXmlDocument(deep));
  EXPECT_TRUE(ParseXmlDocument(deep, XmlLimits{1024, 40, 100}));

  std::string wide = "<a>";
  for (int i = 0; i < 50; ++i) wide += "<b/>";
  wide += "</a>";
  EXPECT_FALSE(ParseXmlDocument(wide, XmlLimits{1 << 20, 8, 50}));
  EXPECT_TRUE(ParseXmlDocument(wide, XmlLimits{1 << 20, 8, 51}));
  EXPECT_FALSE(ParseXmlDocument(wide, XmlLimits{wide.size() - 1, 8, 100}));
}

}  // namespace
}  // namespace bootmark
