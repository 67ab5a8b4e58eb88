// Arbitrary bytes as a store app's package manifest, and its texts through the
// resource resolution: never a crash or a hang.
// fuzz-max-len: 65536
#include "fakes/fake_ports.h"
#include "fuzz/fuzz_target.h"
#include "startup/store_manifest.h"

BOOTMARK_FUZZ_TARGET(bytes) {
  testing::FakeShell shell;
  shell.indirectStrings["@{Package_1.0_x64__id?ms-resource://Identity/Resources/AppName}"] = "App";
  ParseStoreManifest(bytes, [&](std::string_view text, std::string_view identity) {
    const std::string resolved = ResolveResourceString(shell, text, identity, "Package_1.0_x64__id");
    // A text is resolved, kept, emptied or replaced by the identity name.
    Check(resolved == "App" || resolved == text || resolved.empty() || resolved == identity);
    return resolved;
  });
  ResolveResourceString(shell, bytes, "Identity", "Package");
}
