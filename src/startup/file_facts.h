#pragma once
// What the inventory asks about a program file, read once per path in a run:
// hundreds of services share "svchost.exe", and reading a version resource or a
// signature is the costly part of describing an item.
#include <string>
#include <string_view>
#include <unordered_map>

#include "common/file_signer.h"
#include "platform/platform.h"

namespace bootmark {

class FileFacts {
 public:
  explicit FileFacts(const Platform& platform) : platform_(platform) {}

  // ReadFilePublisher of the path, remembered.
  const FilePublisher& Publisher(std::string_view path);
  // GetFileSigner of the path, remembered.
  const std::string& Signer(std::string_view path);

 private:
  struct IgnoreCaseHash {
    std::size_t operator()(const std::string& text) const;
  };
  struct IgnoreCaseEqual {
    bool operator()(const std::string& a, const std::string& b) const;
  };
  template <typename Value>
  using PathMap = std::unordered_map<std::string, Value, IgnoreCaseHash, IgnoreCaseEqual>;

  const Platform& platform_;
  PathMap<FilePublisher> publishers_;
  PathMap<std::string> signers_;
};

}  // namespace bootmark
