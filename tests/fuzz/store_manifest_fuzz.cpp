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
    return ResolveResourceString(shell, text, identity, "Package_1.0_x64__id");
  });
  ResolveResourceString(shell, bytes, "Identity", "Package");
}
