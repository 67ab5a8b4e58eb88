// The main adapter's DNS servers in the TCP/IP interface keys.
#include "dns/dns_set.h"

#include <gtest/gtest.h>

#include "common/registry_values.h"
#include "fakes/fake_registry.h"

namespace bootmark {
namespace {

struct Value {
  const char* name;
  RegistryValue value;
};
struct Interface {
  const char* guid;
  std::vector<Value> values;
};

Value Text(const char* name, std::string_view text) { return {name, MakeRegistryString(text)}; }
Value Number(const char* name, std::uint32_t number) { return {name, MakeRegistryDword(number)}; }

std::string KeyOf(std::string_view guid) { return std::string(kTcpipInterfacesKey) + std::string(guid); }

void Seed(FakeRegistry& registry, const std::vector<Interface>& interfaces,
          RegistryView view = RegistryView::Registry64) {
  registry.AddKey(RegistryRoot::LocalMachine, kTcpipInterfacesKey, view);
  for (const Interface& item : interfaces) {
    registry.AddKey(RegistryRoot::LocalMachine, KeyOf(item.guid), view);
    for (const Value& value : item.values) {
      registry.SetValue(RegistryRoot::LocalMachine, KeyOf(item.guid), value.name, value.value, view);
    }
  }
}

std::optional<RegistryValue> NameServerOf(FakeRegistry& registry, std::string_view guid) {
  const auto key = registry.OpenKey(RegistryRoot::LocalMachine, KeyOf(guid), registry_access::kRead,
                                    RegistryView::Registry64);
  return key ? key->ReadValue("NameServer") : std::nullopt;
}

TEST(TDNSSet, ChoosesTheMainInterfaceAndReadsTheListInForce) {
  struct Case {
    const char* name;
    std::vector<Interface> interfaces;
    const char* chosen;  // "" when none qualifies
    bool usesDhcpDns;
    const char* dns;
  };
  const Value gateway = Text("DefaultGateway", "10.0.0.1"), dhcpGateway = Text("DhcpDefaultGateway", "10.0.0.1");
  const Value dhcpOn = Number("EnableDHCP", 1), dhcpOff = Number("EnableDHCP", 0);
  const auto list = [](const char* text) { return Text("NameServer", text); };
  const auto dhcpList = [](const char* text) { return Text("DhcpNameServer", text); };
  const Case cases[] = {
      {"static list wins over the DHCP list, separators kept",
       {{"{A}", {gateway, dhcpOff, list("8.8.8.8,8.8.4.4"), dhcpList("10.0.0.1")}}}, "{A}", false, "8.8.8.8,8.8.4.4"},
      {"automatic DNS from DHCP", {{"{A}", {dhcpGateway, dhcpOn, list(""), dhcpList("192.168.1.1")}}}, "{A}", true,
       "192.168.1.1"},
      {"DHCP address with a static list is not automatic",
       {{"{A}", {dhcpGateway, dhcpOn, list("1.1.1.1 9.9.9.9"), dhcpList("10.0.0.1")}}}, "{A}", false,
       "1.1.1.1 9.9.9.9"},
      {"static address with only a DHCP list is not automatic", {{"{A}", {gateway, dhcpOff, dhcpList("10.0.0.1")}}},
       "{A}", false, "10.0.0.1"},
      {"first pass skips an interface without DNS text",
       {{"{A}", {gateway, dhcpOff, list("")}}, {"{B}", {dhcpGateway, dhcpOn, dhcpList("10.0.1.1")}}}, "{B}", true,
       "10.0.1.1"},
      {"second pass takes the first candidate with empty lists",
       {{"{A}", {gateway, dhcpOn, list(""), dhcpList("")}}, {"{B}", {gateway, dhcpOn, list("")}}}, "{A}", false, ""},
      {"interfaces without a gateway are never chosen",
       {{"{A}", {dhcpOn, dhcpList("1.1.1.1")}}, {"{B}", {gateway, dhcpOff, list("4.4.4.4")}}}, "{B}", false, "4.4.4.4"},
      {"an interface without EnableDHCP does not qualify", {{"{A}", {gateway, list("8.8.8.8")}}}, "", false, ""},
      {"an interface without DNS values does not qualify", {{"{A}", {gateway, dhcpOn}}}, "", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeRegistry registry;
    Seed(registry, c.interfaces);
    const TDNSSet dnsSet(registry);
    EXPECT_EQ(dnsSet.InterfaceKey(), *c.chosen ? KeyOf(c.chosen) : "");
    EXPECT_EQ(dnsSet.UsesDhcpDns(), c.usesDhcpDns);
    EXPECT_EQ(dnsSet.GetDNS(), c.dns);
  }
}

TEST(TDNSSet, WritesAndClearsTheStaticList) {
  struct Case {
    const char* name;
    std::vector<Value> values;
    const char* set;  // nullptr: ClearDNS
    bool written;
    std::optional<RegistryValue> nameServer;
  };
  const Value gateway = Text("DhcpDefaultGateway", "10.0.0.1");
  const Value dhcp = Number("EnableDHCP", 1);
  const Value dhcpList = Text("DhcpNameServer", "10.0.0.1");
  const Value list = Text("NameServer", "9.9.9.9");
  const Case cases[] = {
      {"set replaces the static list", {gateway, dhcp, dhcpList, list}, "1.1.1.1 2620:fe::fe", true,
       MakeRegistryString("1.1.1.1 2620:fe::fe")},
      {"only a server list is written", {gateway, dhcp, dhcpList, list}, "evil.example", false, list.value},
      {"clear empties the static list", {gateway, dhcp, dhcpList, list}, nullptr, true, MakeRegistryString("")},
      {"clear writes nothing without a static list", {gateway, dhcp, dhcpList}, nullptr, true, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeRegistry registry;
    Seed(registry, {{"{A}", c.values}});
    const TDNSSet dnsSet(registry);
    EXPECT_EQ(c.set == nullptr ? dnsSet.ClearDNS() : dnsSet.SetDNS(c.set), c.written);
    EXPECT_EQ(NameServerOf(registry, "{A}"), c.nameServer);
  }
}

TEST(TDNSSet, WithoutAnInterfaceOrAccessNothingIsWritten) {
  FakeRegistry registry;
  Seed(registry, {{"{A}", {Number("EnableDHCP", 1), Text("NameServer", "9.9.9.9")}}});
  const TDNSSet none(registry);
  EXPECT_FALSE(none.SetDNS("1.1.1.1"));
  EXPECT_FALSE(none.ClearDNS());
  EXPECT_EQ(NameServerOf(registry, "{A}"), MakeRegistryString("9.9.9.9"));

  // The adapter goes away (or writing is refused) after the choice.
  FakeRegistry denied;
  Seed(denied, {{"{A}", {Text("DefaultGateway", "1"), Number("EnableDHCP", 0), Text("NameServer", "9.9.9.9")}}});
  const TDNSSet chosen(denied);
  denied.DenyAccess(RegistryRoot::LocalMachine, KeyOf("{A}"), RegistryView::Registry64);
  EXPECT_EQ(chosen.GetDNS(), "");
  EXPECT_FALSE(chosen.SetDNS("1.1.1.1"));
  EXPECT_FALSE(chosen.ClearDNS());
}

TEST(IsDnsServerList, OnlyAddressLiteralsSeparatedByCommasOrBlanks) {
  const struct {
    const char* list;
    bool valid;
  } cases[] = {
      {"255.1.1.1", true}, {"1.1.1.1 8.8.4.4\t9.9.9.9", true}, {"1.1.1.1, 8.8.8.8,", true}, {"::", true},
      {"fe80:0:0:0:0:0:0:1", true}, {"::ffff:10.0.0.1", true}, {"0:0:0:0:0:ffff:10.0.0.1", true},
      {"2001:DB8::1,10.0.0.1", true},
      {"", false}, {" , ", false}, {"dns.example", false}, {"8.8.8.8;9.9.9.9", false}, {"256.1.1.1", false},
      {"1.1.1", false}, {"1.1.1.1.1", false}, {"01234.1.1.1", false}, {"2001:db8::1::2", false},
      {"1:2:3:4:5:6:7", false}, {"1:2:3:4:5:6:7:8:9", false}, {"12345::1", false},
      {"1.1.1.1\r\nNameServer=6.6.6.6", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsDnsServerList(c.list), c.valid) << c.list;
}

}  // namespace
}  // namespace bootmark
