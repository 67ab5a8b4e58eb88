#pragma once
#include "platform/http.h"

namespace bootmark::win32 {

// HTTP over WinHTTP: a session per request, the system's proxy settings, the
// system's certificate checks and time-outs.
class Win32HttpClient : public IHttpClient {
 public:
  std::optional<std::string> Post(std::string_view url, std::string_view body, std::size_t maxResponseBytes) override;
};

}  // namespace bootmark::win32
