// Arbitrary bytes as a store app's package manifest, and its texts through the
// resource resolution: never a crash or a hang.
// fuzz-max-len: 65536
#include <cstddef>
#include <cstdint>
#include <string>

#include "fakes/fake_ports.h"
#include "fuzz/fuzz_check.h"
#include "startup/store_manifest.h"

using namespace bootmark;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  testing::FakeShell shell;
  shell.indirectStrings["@{Package_1.0_x64__id?ms-resource://Identity/Resources/AppName}"] = "App";
  ParseStoreManifest(bytes, [&](std::string_view text, std::string_view identity) {
    const std::string resolved = ResolveResourceString(shell, text, identity, "Package_1.0_x64__id");
    // A text is resolved, kept, emptied or replaced by the identity name.
    fuzz::Check(resolved == "App" || resolved == text || resolved.empty() || resolved == identity);
    return resolved;
  });
  ResolveResourceString(shell, bytes, "Identity", "Package");
  return 0;
}
