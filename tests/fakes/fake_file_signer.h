#pragma once
// Signers of files by path (compared without regard to case), as crypt32 would
// give them: untrimmed, empty for unsigned files.
#include <map>
#include <string>

#include "base/text.h"
#include "fakes/fake_ports.h"
#include "platform/file_signer.h"

namespace bootmark::testing {

class FakeFileSigner : public IFileSigner {
 public:
  std::string EmbeddedSignerName(std::string_view path) override {
    return Lookup(signers, std::string(path)).value_or("");
  }

  std::map<std::string, std::string, TextLessIgnoreCase> signers;
};

}  // namespace bootmark::testing
