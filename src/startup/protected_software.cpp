// The programs the optimiser must not touch: the install folders of the
// installed antivirus products and the signers of their programs.
#include <algorithm>

#include "common/av_signers.h"
#include "common/data_dirs.h"
#include "base/path.h"
#include "common/registry_values.h"
#include "base/text.h"
#include "startup/main_ctl.h"

namespace bootmark {
namespace {

// The first non-empty answer of "InstallLocation" and "DisplayIcon", in the
// default registry view and then in the 64-bit one; without double quotes, cut
// to its folder when it names an ".exe", with a trailing backslash.
std::string InstallFolderOf(IRegistry& registry, RegistryRoot root, std::string_view path) {
  std::string value;
  for (const RegistryView view : {RegistryView::Default, RegistryView::Registry64}) {
    const std::unique_ptr<IRegistryKey> key = registry.OpenKey(root, path, registry_access::kRead, view);
    if (!key) continue;
    for (const char* name : {"InstallLocation", "DisplayIcon"}) {
      value = ReadRegistryString(*key, name).value_or("");
      if (!value.empty()) break;
    }
    if (!value.empty()) break;
  }
  std::erase(value, '"');
  if (value.empty()) return {};
  if (UpperCaseOrdinal(value).find(".EXE") != std::string::npos) value = ExtractFilePath(value);
  return IncludeTrailingBackslash(value);
}

void AddUnlessPresent(std::vector<std::string>& list, std::string text) {
  const auto same = [&text](const std::string& listed) { return SameText(listed, text); };
  if (std::none_of(list.begin(), list.end(), same)) list.push_back(std::move(text));
}

}  // namespace

void TMainCtl::BuildProtectedSoftware() {
  protectedSoftware_.emplace();
  std::vector<std::string>& list = *protectedSoftware_;
  products_ = std::make_unique<TAVUninstall>(platform_.files, platform_.registry, context_.system.IsWow64(),
                                             ProgramDir(platform_.environment));
  products_->Load();
  for (int i = 0; i < products_->Count() && !stop_; ++i) {
    for (const std::string& location : SplitText(products_->Item(i)->registryLocation, "|")) {
      const std::size_t slash = location.find('\\');
      if (slash == std::string::npos) continue;
      const std::optional<RegistryRoot> root = RegistryRootOfNumber(location.substr(0, slash));
      if (!root) continue;
      std::string folder = InstallFolderOf(platform_.registry, *root, location.substr(slash + 1));
      if (folder.empty()) continue;
      if (const std::optional<std::string> longName = platform_.files.LongPathName(folder); longName && !longName->empty()) {
        folder = IncludeTrailingBackslash(*longName);
      }
      AddUnlessPresent(list, UpperCaseOrdinal(folder));
      const std::vector<std::string> programs = platform_.files.FindFiles(folder, "*.exe");
      if (programs.empty()) continue;
      const std::string signer = NormalizeSignerName(fileFacts_.Signer(folder + programs.front()));
      if (signer.empty()) continue;
      AddUnlessPresent(list, signer);
      AddUnlessPresent(list, signer + ", inc");
    }
  }
}

bool TMainCtl::IsProtectedSoftware(std::string_view fullPath) {
  if (!protectedSoftware_ || protectedSoftware_->empty()) return false;
  const std::string upperPath = UpperCaseOrdinal(fullPath);
  for (const std::string& entry : *protectedSoftware_) {
    if (StartsWith(upperPath, UpperCaseOrdinal(entry))) return true;
  }
  const std::string signer = UpperCaseOrdinal(Trim(fileFacts_.Signer(fullPath)));
  if (signer.empty()) return false;
  return std::any_of(protectedSoftware_->begin(), protectedSoftware_->end(),
                     [&signer](const std::string& entry) { return SameText(entry, signer); });
}

}  // namespace bootmark
