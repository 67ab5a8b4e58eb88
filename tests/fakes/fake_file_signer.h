#pragma once
// Signers of files by path (compared without regard to case), as crypt32 would
// give them: untrimmed, empty for unsigned files.
#include <map>
#include <string>

#include "base/text.h"
#include "platform/file_signer.h"

namespace bootmark::testing {

class FakeFileSigner : public IFileSigner {
 public:
  std::string EmbeddedSignerName(std::string_view path) override {
    const auto found = signers.find(std::string(path));
    return found == signers.end() ? std::string() : found->second;
  }

  std::map<std::string, std::string, TextLessIgnoreCase> signers;
};

}  // namespace bootmark::testing
