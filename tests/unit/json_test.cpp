// The reader of the statistics server's JSON answer.
#include "base/json.h"

#include <gtest/gtest.h>

#include <string>

namespace bootmark {
namespace {

using Kind = JsonValue::Kind;

TEST(ParseJsonObject, ReadsEachKindOfValue) {
  const auto object = ParseJsonObject(
      " {\"s\":\"a\\\"b\\\\c\\/d\\n\\u00Aa\\ud83d\\ude00\", \"n\":-12.5e+3, \"z\":0, \"t\":true, \"f\":false,"
      "\"nil\":null, \"o\":{\"x\":[1,{\"y\":[]}]}, \"a\":[ ], \"e\":\"\","
      // Lone surrogate escapes become replacement characters.
      "\"l1\":\"\\ud800x\", \"l2\":\"\\udc00\", \"l3\":\"\\ud800\\u0041\"}\r\n");
  ASSERT_TRUE(object);
  const struct {
    const char* name;
    Kind kind;
    const char* text;
  } expected[] = {
      {"s", Kind::String, "a\"b\\c/d\n\xC2\xAA\xF0\x9F\x98\x80"},
      {"n", Kind::Number, "-12.5e+3"},
      {"z", Kind::Number, "0"},
      {"t", Kind::Boolean, "true"},
      {"f", Kind::Boolean, "false"},
      {"nil", Kind::Null, "null"},
      {"o", Kind::Object, "{\"x\":[1,{\"y\":[]}]}"},
      {"a", Kind::Array, "[ ]"},
      {"e", Kind::String, ""},
      {"l1", Kind::String, "\xEF\xBF\xBDx"},
      {"l2", Kind::String, "\xEF\xBF\xBD"},
      {"l3", Kind::String, "\xEF\xBF\xBD" "A"},
  };
  ASSERT_EQ(object->fields.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(object->fields[i].name, expected[i].name);
    EXPECT_EQ(object->fields[i].value.kind, expected[i].kind);
    EXPECT_EQ(object->fields[i].value.text, expected[i].text);
  }
}

TEST(ParseJsonObject, FindGivesTheFirstFieldOfAName) {
  const auto object = ParseJsonObject(R"({"id":"1","ID":"2","id":"3"})");
  ASSERT_TRUE(object);
  EXPECT_EQ(object->fields.size(), 3u);
  ASSERT_NE(object->Find("id"), nullptr);
  EXPECT_EQ(object->Find("id")->text, "1");
  EXPECT_EQ(object->Find("ID")->text, "2");
  EXPECT_EQ(object->Find("Id"), nullptr);
  EXPECT_TRUE(ParseJsonObject("{}")->fields.empty());
}

TEST(ParseJsonObject, RefusesWhatIsNotOneWellFormedObject) {
  const char* const refused[] = {
      "", "   ", "[]", "<html><body>502 Bad Gateway</body></html>", "{", "{\"a\":1", "{\"a\":1,}", "{,\"a\":1}",
      "{\"a\" 1}", "{\"a\"", "{a:1}", "{'a':1}", "{\"a\":1}}", "{\"a\":1} x", "{\"a\":1}{\"b\":2}",
      "{\"a\":01}", "{\"a\":1.}", "{\"a\":.5}", "{\"a\":+1}", "{\"a\":1e}", "{\"a\":-}", "{\"a\":tru}",
      "{\"a\":True}", "{\"a\":nul}", "{\"a\":\"x}", "{\"a\":\"x\\\"}", "{\"a\":\"\\x\"}", "{\"a\":\"\\u12G4\"}",
      "{\"a\":\"\\u12\"}", "{\"a\":\"\\ud800\\u12G4\"}",
      "{\"a\":\"line\nbreak\"}", "{\"a\":[1,]}", "{\"a\":[1 2]}", "{\"a\":NaN}",
  };
  for (const char* text : refused) {
    EXPECT_FALSE(ParseJsonObject(text)) << text;
  }
}

std::string Nested(int levels) {
  std::string text;
  for (int i = 1; i < levels; ++i) text += "{\"a\":";
  text += "{}";
  for (int i = 1; i < levels; ++i) text += "}";
  return text;
}

TEST(ParseJsonObject, NestingIsBounded) {
  EXPECT_TRUE(ParseJsonObject(Nested(kMaxJsonDepth)));
  EXPECT_FALSE(ParseJsonObject(Nested(kMaxJsonDepth + 1)));
  // Arrays count as levels too.
  std::string arrays = "{\"a\":" + std::string(static_cast<std::size_t>(kMaxJsonDepth) - 1, '[') +
                       std::string(static_cast<std::size_t>(kMaxJsonDepth) - 1, ']') + "}";
  EXPECT_TRUE(ParseJsonObject(arrays));
  arrays.insert(5, "[").insert(arrays.size() - 1, "]");
  EXPECT_FALSE(ParseJsonObject(arrays));
}

TEST(ParseJsonObject, TextSizeIsBounded) {
  const std::string head = "{\"a\":\"";
  const std::string tail = "\"}";
  std::string atLimit = head + std::string(kMaxJsonTextBytes - head.size() - tail.size(), 'x') + tail;
  ASSERT_EQ(atLimit.size(), kMaxJsonTextBytes);
  const auto object = ParseJsonObject(atLimit);
  ASSERT_TRUE(object);
  EXPECT_EQ(object->fields[0].value.text.size(), kMaxJsonTextBytes - head.size() - tail.size());
  EXPECT_FALSE(ParseJsonObject(" " + atLimit));
}

}  // namespace
}  // namespace bootmark
