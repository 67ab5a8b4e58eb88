#include "startup/store_manifest.h"

#include "base/text.h"
#include "startup/task_xml.h"

namespace bootmark {
namespace {

constexpr std::string_view kResource = "ms-resource:";
constexpr std::string_view kFullForm = "ms-resource://";
constexpr std::string_view kShortForm = "ms-resource:/";

// The resource prefixes are matched in ASCII only, byte for byte, so that the
// positions found hold in the text itself.
bool HasPrefix(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    const char c = text[i];
    if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c) != prefix[i]) return false;
  }
  return true;
}

std::string AttributeOr(const XmlElement* element, std::string_view name) {
  if (element == nullptr) return {};
  return element->Attribute(name).value_or(std::string());
}

const XmlElement* VisualElements(const XmlElement& application) {
  if (const XmlElement* visual = application.Child("uap:VisualElements")) return visual;
  return application.Child("VisualElements");
}

// The "windows.startupTask" extensions of one application.
void ReadStartupTasks(const XmlElement& application, std::string_view identityName,
                      const ManifestTextResolver& resolve, std::vector<ManifestStartupTask>& tasks) {
  const XmlElement* extensions = application.Child("Extensions");
  if (extensions == nullptr) return;
  const XmlElement* visual = VisualElements(application);
  for (const XmlElement& extension : extensions->children) {
    const std::optional<std::string> category = extension.Attribute("Category");
    if (!category || !SameText(*category, "windows.startupTask") || extension.children.empty()) continue;
    const XmlElement& task = extension.children.front();
    const std::optional<std::string> taskId = task.Attribute("TaskId");
    if (!taskId) continue;
    tasks.push_back({*taskId, AttributeOr(&extension, "Executable"), AttributeOr(visual, "Square44x44Logo"),
                     resolve(AttributeOr(visual, "DisplayName"), identityName),
                     resolve(AttributeOr(&task, "DisplayName"), identityName)});
  }
}

}  // namespace

std::optional<StoreManifest> ParseStoreManifest(std::string_view bytes, const ManifestTextResolver& resolve) {
  XmlLimits limits;
  limits.keepNamespacePrefixes = true;
  const std::optional<XmlElement> package = ParseXmlDocument(bytes, limits);
  if (!package) return std::nullopt;
  StoreManifest manifest;
  const XmlElement* identity = package->Child("Identity");
  manifest.identityName = AttributeOr(identity, "Name");
  manifest.version = AttributeOr(identity, "Version");
  if (const XmlElement* properties = package->Child("Properties")) {
    manifest.displayName = properties->ChildText("DisplayName").value_or(std::string());
    manifest.publisherDisplayName = properties->ChildText("PublisherDisplayName").value_or(std::string());
  }
  if (const XmlElement* applications = package->Child("Applications")) {
    for (const XmlElement& application : applications->children) {
      if (application.name == "Application") {
        ReadStartupTasks(application, manifest.identityName, resolve, manifest.startupTasks);
      }
    }
  }
  return manifest;
}

std::string ResolveResourceString(IShell& shell, std::string_view text, std::string_view identityName,
                                  std::string_view packageFullName) {
  if (StartsWith(text, "@")) return {};
  std::size_t at = 0;
  while (at + kResource.size() <= text.size() && !HasPrefix(text.substr(at), kResource)) ++at;
  if (at + kResource.size() > text.size()) return std::string(text);

  std::string resource(text.substr(at));
  if (resource.find('/') == std::string::npos) {
    resource = std::string(kFullForm) + std::string(identityName) + "/Resources/" + resource.substr(kResource.size());
  }
  // The spellings to try: the full form once; the short form as it is and as the
  // full form; the bare prefix as it is, as the full form and as the short form.
  std::vector<std::string> tries{resource};
  if (!HasPrefix(resource, kFullForm)) {
    if (HasPrefix(resource, kShortForm)) {
      tries.push_back(std::string(kFullForm) + resource.substr(kShortForm.size()));
    } else {
      const std::string rest = resource.substr(kResource.size());
      tries.push_back(std::string(kFullForm) + rest);
      tries.push_back(std::string(kShortForm) + rest);
    }
  }
  for (const std::string& attempt : tries) {
    const std::optional<std::string> resolved =
        shell.LoadIndirectString("@{" + std::string(packageFullName) + "?" + attempt + "}");
    if (resolved && !resolved->empty() && *resolved != text) return *resolved;
  }
  return std::string(identityName);
}

}  // namespace bootmark
