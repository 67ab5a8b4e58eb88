#include "startup/task_xml.h"

#include <gtest/gtest.h>

#include "base/text.h"

namespace bootmark {
namespace {

std::string Utf16(std::string_view text, bool bom, bool bigEndian = false) {
  std::string bytes = bom ? (bigEndian ? "\xFE\xFF" : "\xFF\xFE") : "";
  AppendUtf16(bytes, text, bigEndian);
  return bytes;
}

constexpr std::string_view kDocument =
    "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<!-- note -->\n"
    "<t:Task version=\"1.2\" xmlns:t=\"urn:x\"><t:A k='v &amp; w'>x &lt; y &#x20AC;&#65;</t:A>"
    "<B><![CDATA[<raw>]]></B><C/></t:Task>\n";

TEST(ParseXmlDocumentTest, ReadsEveryEncodingTheStoreHolds) {
  for (const std::string& bytes : {std::string(kDocument), "\xEF\xBB\xBF" + std::string(kDocument),
                                   Utf16(kDocument, true), Utf16(kDocument, false),
                                   Utf16(kDocument, true, true), Utf16(kDocument, false, true)}) {
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
                           "<a><!-- open</a>", "<a><![CDATA[x</a>", "<a x='<'/>", "\xFF\xFE<", "<a>\xC0\x80</a>"}) {
    EXPECT_FALSE(ParseXmlDocument(text)) << text;
  }
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
