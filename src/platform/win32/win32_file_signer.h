#pragma once
#include "platform/file_signer.h"

namespace bootmark::win32 {

class Win32FileSigner : public IFileSigner {
 public:
  std::string EmbeddedSignerName(std::string_view path) override;
};

}  // namespace bootmark::win32
