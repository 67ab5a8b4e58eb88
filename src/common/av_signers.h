#pragma once
// The signers of the installed antivirus products: an item whose program one of
// them signed belongs to the product and is never alerted.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace bootmark {

// A signer name as the signature list and the antivirus signer list hold it:
// trimmed, A-Z lower-cased.
std::string NormalizeSignerName(std::string_view signer);

// The root of a product's registry location: the predefined key's handle value
// as 8 hexadecimal digits ("80000002" is HKEY_LOCAL_MACHINE); nullopt for any
// other text.
std::optional<RegistryRoot> RegistryRootOfNumber(std::string_view number);

// The install folder that an uninstall entry names ("80000002\SOFTWARE\...\X"):
// "InstallLocation", else "UninstallString", else "DisplayIcon" (the first that
// holds ":\"), without double quotes, reduced to its folder when it names an
// ".exe", with a trailing backslash and long names. The entry is looked for in
// the 32-bit registry view first, then in the 64-bit one. Empty when the location
// is not a root number and a path, or no value names a folder.
std::string GetAVInstallFolder(const Platform& platform, std::string_view registryLocation);

// The signer (lower-cased, trimmed) of the first ".exe" in the install folder of
// each detected product, once each, and each also followed by ", inc".
// `on64BitWindows` adds the 64-bit uninstall keys to the detection.
std::vector<std::string> GetAVSignerList(const Platform& platform, bool on64BitWindows);

// The signer is in that list, compared without regard to case.
bool IsAVSoftwareSigner(const Platform& platform, bool on64BitWindows, std::string_view signer);

}  // namespace bootmark
