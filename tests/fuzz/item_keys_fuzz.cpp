// Arbitrary bytes as a startup item: "name\nfile name\ncompany", the first byte
// choosing the item kind. Keys must come out without crash or hang, and start
// with the kind and ":".
// fuzz-max-len: 70000
#include "fuzz/fuzz_target.h"
#include "startup/item_keys.h"

std::string NextField(std::string_view& rest) {
  const std::size_t end = rest.find('\n');
  std::string field(rest.substr(0, end));
  rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  return field;
}

BOOTMARK_FUZZ_TARGET(input) {
  if (input.empty()) return;
  const int itemType = static_cast<std::uint8_t>(input[0]) % 6;
  std::string_view rest = std::string_view(input).substr(1);
  const std::string name = NextField(rest);
  const std::string fileName = NextField(rest);
  const std::string company = NextField(rest);

  LocalIdentity identity;
  identity.UserSids = {"S-1-5-21-1004336348-1177238915-682003330-1001", "S-1-5-21-1-2-3-500"};
  identity.UserNames = {"AnnLee", "Ann", "a"};
  identity.ComputerName = "DESK-7";
  identity.RegisteredOwner = "Jo";
  const ItemKeys keys(identity, [&](std::string_view taskName) -> std::optional<TaskAccountFields> {
    if (taskName.empty() || taskName[0] != 'T') return std::nullopt;
    return TaskAccountFields{std::string(taskName.substr(0, 3)), company};
  });

  const std::string prefix = std::to_string(itemType) + ":";
  const std::string key = keys.MakeItemKey(name, fileName, company, itemType);
  Check(key.compare(0, prefix.size(), prefix) == 0);
  keys.StripItemKey(name);
  ItemHash(name);
  MakeFileKey(name, company);
}
