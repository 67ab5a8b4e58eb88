#pragma once
#include "platform/http.h"

namespace bootmark::win32 {

// HTTP over WinHTTP: a session per request, the system's proxy settings and
// certificate checks, TLS 1.2 and 1.3 where the system has them, a bounded name
// resolution and the system's other time-outs.
class Win32HttpClient : public IHttpClient {
 public:
  std::optional<std::string> Post(std::string_view url, std::string_view body, std::size_t maxResponseBytes,
                                  HttpRequestControl* control) override;
};

}  // namespace bootmark::win32
