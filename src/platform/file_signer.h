#pragma once
// The signer of a file's embedded Authenticode signature (crypt32).
#include <string>
#include <string_view>

namespace bootmark {

class IFileSigner {
 public:
  virtual ~IFileSigner() = default;
  // The simple display name of the certificate that signed the signature
  // embedded in the file, as the system gives it (not trimmed). The signature is
  // not verified. Empty when the file has no embedded signature, it cannot be
  // read, or the signer's certificate is not in the signature.
  virtual std::string EmbeddedSignerName(std::string_view path) = 0;
};

}  // namespace bootmark
