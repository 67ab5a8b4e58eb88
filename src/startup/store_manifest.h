#pragma once
// The package manifest of a store app ("AppxManifest.xml"): its identity and
// the startup tasks its applications declare ("windows.startupTask"
// extensions), with "ms-resource:" texts resolved through the shell.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/shell.h"

namespace bootmark {

struct ManifestStartupTask {
  std::string taskId;
  std::string executable;  // relative to the package's install folder
  std::string logo;        // the application's "Square44x44Logo"
  std::string appDisplayName;
  std::string taskDisplayName;
};

struct StoreManifest {
  std::string identityName;  // "Identity" "Name"
  std::string version;
  std::string displayName;  // "Properties"
  std::string publisherDisplayName;
  std::vector<ManifestStartupTask> startupTasks;
};

// Resolves a display text of the manifest, given the package's identity name.
using ManifestTextResolver = std::function<std::string(std::string_view text, std::string_view identityName)>;

// Nullopt when the bytes are not a well-formed document.
std::optional<StoreManifest> ParseStoreManifest(std::string_view bytes, const ManifestTextResolver& resolve);

// A text holding "ms-resource:" looked up through SHLoadIndirectString with
// "@{" + package full name + "?" + resource + "}", in each of the resource's
// accepted spellings in turn; unresolved it gives the identity name. A text that
// begins with "@" gives an empty text; any other text is kept as it is.
std::string ResolveResourceString(IShell& shell, std::string_view text, std::string_view identityName,
                                  std::string_view packageFullName);

}  // namespace bootmark
