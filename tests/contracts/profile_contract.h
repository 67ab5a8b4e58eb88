#pragma once
// What the program expects of the private-profile functions, run natively against
// the portable emulation and under Wine against the system's own functions.
//
// An environment type gives the port and what only a test can do to it:
//   IProfileApi& Profile();                 the port under test
//   std::string Folder();                   an empty folder, with a trailing backslash
//   void Put(path, bytes);                  a file written by someone else
//   std::string Bytes(path);                the file's content as another reader sees it
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/utf16_file.h"
#include "platform/profile.h"

namespace bootmark::contracts {

template <typename Env>
class ProfileContract : public ::testing::Test {
 protected:
  Env env;
};
TYPED_TEST_SUITE_P(ProfileContract);

TYPED_TEST_P(ProfileContract, Utf16FileStaysUtf16AndKeepsTextBeyondTheAnsiCodePage) {
  IProfileApi& profile = this->env.Profile();
  const std::string path = this->env.Folder() + "ProcessRestart.ini";
  this->env.Put(path, "\xFF\xFE");
  const std::string text = "Gr\u00FC\u00DFe \u4F60\u597D \u0416";
  ASSERT_TRUE(profile.WriteString(path, "Application", "Greeting", text));
  profile.Flush(path);
  EXPECT_EQ(this->env.Bytes(path).substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(profile.ReadString(path, "APPLICATION", "greeting", ""), text);
  EXPECT_EQ(profile.ReadString(path, "Application", "Missing", "default"), "default");
}

TYPED_TEST_P(ProfileContract, LongValuesAndLongSectionListsAreReadWhole) {
  IProfileApi& profile = this->env.Profile();
  const std::string path = this->env.Folder() + "long.ini";
  this->env.Put(path, "\xFF\xFE");
  for (const std::size_t length : {2046u, 2047u, 2048u, 40000u}) {
    const std::string value(length, 'v');
    ASSERT_TRUE(profile.WriteString(path, "Long", "Value", value));
    EXPECT_EQ(profile.ReadString(path, "Long", "Value", ""), value) << length;
  }
  // More section names than the first list buffer of the system's functions holds.
  std::vector<std::string> names{"Long"};
  for (int i = 0; i < 300; ++i) {
    names.push_back("Section_with_a_long_name_that_fills_the_first_list_buffer_" + std::to_string(i));
  }
  for (std::size_t i = 1; i < names.size(); ++i) ASSERT_TRUE(profile.WriteString(path, names[i], "k", "1"));
  EXPECT_EQ(profile.ReadSectionNames(path), names);
}

TYPED_TEST_P(ProfileContract, WhatAnotherWriterPutThereIsReadAtOnce) {
  IProfileApi& profile = this->env.Profile();
  const std::string path = this->env.Folder() + "shared.ini";
  this->env.Put(path, "\xFF\xFE");
  ASSERT_TRUE(profile.WriteString(path, "S", "mine", "1"));
  this->env.Put(path, testing::Utf16File("[S]\r\nmine=1\r\n; a comment\r\n  theirs  =  2  \r\n[Other]\r\nx=3\r\n"));
  EXPECT_EQ(profile.ReadString(path, "s", "THEIRS", ""), "2");
  EXPECT_EQ(profile.ReadKeys(path, "S"), (std::vector<std::string>{"mine", "theirs"}));

  ASSERT_TRUE(profile.DeleteKey(path, "S", "mine"));
  EXPECT_EQ(profile.ReadKeys(path, "S"), std::vector<std::string>{"theirs"});
  EXPECT_EQ(profile.ReadSectionNames(path), (std::vector<std::string>{"S", "Other"}));
  EXPECT_EQ(profile.ReadString(path, "Other", "x", ""), "3");
}

REGISTER_TYPED_TEST_SUITE_P(ProfileContract, Utf16FileStaysUtf16AndKeepsTextBeyondTheAnsiCodePage,
                            LongValuesAndLongSectionListsAreReadWhole, WhatAnotherWriterPutThereIsReadAtOnce);

}  // namespace bootmark::contracts
