#pragma once
// What the program expects of the registry port, run natively against the fake
// registry and under Wine against the real one, views included.
//
// An environment type gives the port and a key name of its own:
//   IRegistry& Registry();                  the port under test
//   std::string Name();                     a key name no one else uses; the keys the
//                                           tests make with it below "Software\Tarvo"
//                                           and "SYSTEM" are removed afterwards
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/registry_values.h"
#include "platform/registry.h"

namespace bootmark::contracts {

template <typename Env>
class RegistryContract : public ::testing::Test {
 protected:
  std::unique_ptr<IRegistryKey> Open(RegistryRoot root, const std::string& path, RegistryView view) {
    return env.Registry().OpenKey(root, path, registry_access::kRead, view);
  }
  std::optional<std::string> Read(RegistryRoot root, const std::string& path, RegistryView view) {
    const std::unique_ptr<IRegistryKey> key = Open(root, path, view);
    return key ? ReadRegistryString(*key, "View") : std::nullopt;
  }
  Env env;
};
TYPED_TEST_SUITE_P(RegistryContract);

TYPED_TEST_P(RegistryContract, TypedValuesRoundTripAndNamesIgnoreCase) {
  IRegistry& registry = this->env.Registry();
  const std::string path = "Software\\Tarvo\\" + this->env.Name();
  auto key = registry.CreateKey(RegistryRoot::CurrentUser, path + "\\Sub", RegistryView::Default);
  ASSERT_TRUE(key);
  ASSERT_TRUE(key->WriteValue("Text", MakeRegistryString("C:\\Program Files\\\u00C9t\u00E9\\a.exe")));
  ASSERT_TRUE(key->WriteValue("Expand", MakeRegistryString("%windir%\\x.exe", registry_type::kExpandString)));
  ASSERT_TRUE(key->WriteValue("Number", MakeRegistryDword(0xFFFFFFFEu)));
  ASSERT_TRUE(key->WriteValue("List", MakeRegistryMultiString({"8.8.8.8", "1.1.1.1"})));
  ASSERT_TRUE(key->WriteValue("", MakeRegistryString("default")));

  auto read = this->Open(RegistryRoot::CurrentUser, path + "\\SUB", RegistryView::Default);
  ASSERT_TRUE(read);
  EXPECT_EQ(ReadRegistryString(*read, "text"), "C:\\Program Files\\\u00C9t\u00E9\\a.exe");
  EXPECT_EQ(ReadRegistryString(*read, "Expand"), "%windir%\\x.exe");  // never expanded here
  EXPECT_EQ(ReadRegistryDword(*read, "Number"), 0xFFFFFFFEu);
  EXPECT_EQ(ReadRegistryMultiString(*read, "List"), (std::vector<std::string>{"8.8.8.8", "1.1.1.1"}));
  EXPECT_EQ(ReadRegistryString(*read, ""), "default");
  EXPECT_FALSE(ReadRegistryDword(*read, "Text").has_value());
  EXPECT_FALSE(ReadRegistryString(*read, "Missing").has_value());
  EXPECT_EQ(read->ValueNames().size(), 5u);
  EXPECT_FALSE(read->DeleteValue("Text"));  // opened for reading only
  EXPECT_FALSE(read->WriteValue("Other", MakeRegistryDword(1)));
  EXPECT_TRUE(key->DeleteValue("Text"));
  EXPECT_FALSE(read->ReadValue("Text").has_value());

  auto parent = this->Open(RegistryRoot::CurrentUser, path, RegistryView::Default);
  ASSERT_TRUE(parent);
  EXPECT_EQ(parent->SubKeyNames(), std::vector<std::string>{"Sub"});
  EXPECT_EQ(this->Open(RegistryRoot::CurrentUser, path + "\\Missing", RegistryView::Default), nullptr);
}

// The machine's software key has a view for 32-bit programs, its Wow6432Node, which
// is also the default view of the program; the rest of the machine's keys are one.
TYPED_TEST_P(RegistryContract, OnlyTheMachinesSoftwareKeyHasTwoViews) {
  IRegistry& registry = this->env.Registry();
  const std::string software = "Software\\Tarvo\\" + this->env.Name();
  const std::string system = "SYSTEM\\" + this->env.Name();
  ASSERT_TRUE(registry.CreateKey(RegistryRoot::LocalMachine, software, RegistryView::Default)
                  ->WriteValue("View", MakeRegistryString("default")));
  ASSERT_TRUE(registry.CreateKey(RegistryRoot::LocalMachine, software, RegistryView::Registry64)
                  ->WriteValue("View", MakeRegistryString("64")));
  ASSERT_TRUE(registry.CreateKey(RegistryRoot::LocalMachine, system, RegistryView::Default)
                  ->WriteValue("View", MakeRegistryString("shared")));

  EXPECT_EQ(this->Read(RegistryRoot::LocalMachine, software, RegistryView::Registry32), "default");
  EXPECT_EQ(this->Read(RegistryRoot::LocalMachine, software, RegistryView::Registry64), "64");
  EXPECT_EQ(this->Read(RegistryRoot::LocalMachine, "Software\\Wow6432Node\\Tarvo\\" + this->env.Name(),
                       RegistryView::Registry64),
            "default");
  EXPECT_EQ(this->Read(RegistryRoot::LocalMachine, system, RegistryView::Registry64), "shared");
  EXPECT_EQ(this->Read(RegistryRoot::LocalMachine, system, RegistryView::Registry32), "shared");
}

REGISTER_TYPED_TEST_SUITE_P(RegistryContract, TypedValuesRoundTripAndNamesIgnoreCase,
                            OnlyTheMachinesSoftwareKeyHasTwoViews);

}  // namespace bootmark::contracts
