#include "startup/file_facts.h"

#include "base/text.h"

namespace bootmark {

std::size_t FileFacts::IgnoreCaseHash::operator()(const std::string& text) const {
  return HashTextIgnoreCase(text);
}

bool FileFacts::IgnoreCaseEqual::operator()(const std::string& a, const std::string& b) const {
  return SameText(a, b);
}

const FilePublisher& FileFacts::Publisher(std::string_view path) {
  const std::string key(path);
  if (const auto found = publishers_.find(key); found != publishers_.end()) return found->second;
  return publishers_.emplace(key, ReadFilePublisher(platform_.files, platform_.versions, path)).first->second;
}

const std::string& FileFacts::Signer(std::string_view path) {
  const std::string key(path);
  if (const auto found = signers_.find(key); found != signers_.end()) return found->second;
  return signers_.emplace(key, GetFileSigner(platform_.signer, path)).first->second;
}

}  // namespace bootmark
