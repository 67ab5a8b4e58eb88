#include "platform/win32/win32_http.h"

#include <windows.h>
#include <winhttp.h>

#include <utility>

#include "platform/win32/unique_resource.h"
#include "platform/win32/wide.h"

namespace bootmark::win32 {
namespace {

constexpr wchar_t kAgent[] = L"Mozilla/4.0";
constexpr wchar_t kContentType[] = L"Content-Type: application/x-www-form-urlencoded";

// Name resolution has no time-out of its own by default; the others keep the
// system's defaults (connect 60 s, send and each receive 30 s).
constexpr int kResolveTimeoutMs = 15000;
constexpr int kConnectTimeoutMs = 60000;
constexpr int kSendTimeoutMs = 30000;
constexpr int kReceiveTimeoutMs = 30000;

// Protocol bits of WINHTTP_OPTION_SECURE_PROTOCOLS, missing from older headers.
constexpr DWORD kSecureProtocolTls12 = 0x00000800;
constexpr DWORD kSecureProtocolTls13 = 0x00002000;

// A session, connection or request handle, closed with WinHttpCloseHandle. A
// request is closed before its connection and the connection before its session
// by declaring them in that order.
void CloseInternetHandle(HINTERNET handle) { ::WinHttpCloseHandle(handle); }
using UniqueInternetHandle = UniqueResource<HINTERNET, CloseInternetHandle>;

struct UrlParts {
  bool secure = false;
  std::wstring host;
  INTERNET_PORT port = 0;
  std::wstring pathAndQuery;
};

bool CrackUrl(const std::wstring& url, UrlParts& parts) {
  URL_COMPONENTS components{};
  components.dwStructSize = sizeof components;
  // Lengths of -1: the parts are pointers into `url`.
  components.dwSchemeLength = static_cast<DWORD>(-1);
  components.dwHostNameLength = static_cast<DWORD>(-1);
  components.dwUrlPathLength = static_cast<DWORD>(-1);
  components.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!::WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &components)) return false;
  if (components.nScheme != INTERNET_SCHEME_HTTP && components.nScheme != INTERNET_SCHEME_HTTPS) return false;
  if (components.lpszHostName == nullptr || components.dwHostNameLength == 0) return false;
  parts.secure = components.nScheme == INTERNET_SCHEME_HTTPS;
  parts.host.assign(components.lpszHostName, components.dwHostNameLength);
  parts.port = components.nPort;
  if (components.lpszUrlPath != nullptr) parts.pathAndQuery.assign(components.lpszUrlPath, components.dwUrlPathLength);
  if (components.lpszExtraInfo != nullptr) {
    parts.pathAndQuery.append(components.lpszExtraInfo, components.dwExtraInfoLength);
  }
  if (parts.pathAndQuery.empty()) parts.pathAndQuery = L"/";
  return true;
}

bool IsSuccessStatus(HINTERNET request) {
  DWORD status = 0;
  DWORD size = sizeof status;
  if (!::WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX)) {
    return false;
  }
  return status >= 200 && status < 300;
}

// Reads the whole body; nullopt on a read failure or when it passes `maxBytes`.
std::optional<std::string> ReadBody(HINTERNET request, std::size_t maxBytes) {
  std::string body;
  for (;;) {
    DWORD available = 0;
    if (!::WinHttpQueryDataAvailable(request, &available)) return std::nullopt;
    if (available == 0) return body;
    if (available > maxBytes - body.size()) return std::nullopt;
    const std::size_t start = body.size();
    body.resize(start + available);
    DWORD read = 0;
    if (!::WinHttpReadData(request, body.data() + start, available, &read)) return std::nullopt;
    body.resize(start + read);
    if (read == 0) return body;
  }
}

// TLS 1.2 and 1.3 switched on explicitly: older systems (Windows 7) offer only
// TLS 1.0 by default, which servers refuse. A system that does not know 1.3
// refuses the pair, and gets 1.2 alone.
void EnableModernTls(HINTERNET session) {
  DWORD protocols = kSecureProtocolTls12 | kSecureProtocolTls13;
  if (::WinHttpSetOption(session, WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols, sizeof protocols)) return;
  protocols = kSecureProtocolTls12;
  ::WinHttpSetOption(session, WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols, sizeof protocols);
}

// Hands the request handle to the control while the request runs: Cancel from
// another thread closes it, which ends any WinHTTP call waiting on it. On the way
// out, a handle the control closed is not closed again.
class ControlledRequest {
 public:
  ControlledRequest(UniqueInternetHandle& request, HttpRequestControl* control)
      : request_(request), control_(control) {
    const HINTERNET handle = request.Get();
    attached_ = control_ == nullptr || control_->Attach([handle] { ::WinHttpCloseHandle(handle); });
  }
  ~ControlledRequest() {
    if (control_ != nullptr && attached_ && !control_->Detach()) request_.Detach();
  }
  ControlledRequest(const ControlledRequest&) = delete;
  ControlledRequest& operator=(const ControlledRequest&) = delete;
  // False when the request was cancelled before it began.
  bool Attached() const { return attached_; }

 private:
  UniqueInternetHandle& request_;
  HttpRequestControl* control_;
  bool attached_ = false;
};

}  // namespace

std::optional<std::string> Win32HttpClient::Post(std::string_view url, std::string_view body,
                                                 std::size_t maxResponseBytes, HttpRequestControl* control) {
  UrlParts parts;
  if (!CrackUrl(Wide(url), parts)) return std::nullopt;
  if (body.size() >= std::size_t{MAXDWORD}) return std::nullopt;

  const UniqueInternetHandle session(::WinHttpOpen(kAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                                   WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) return std::nullopt;
  ::WinHttpSetTimeouts(session.Get(), kResolveTimeoutMs, kConnectTimeoutMs, kSendTimeoutMs, kReceiveTimeoutMs);
  if (parts.secure) EnableModernTls(session.Get());
  const UniqueInternetHandle connection(::WinHttpConnect(session.Get(), parts.host.c_str(), parts.port, 0));
  if (!connection) return std::nullopt;
  // No security flags are changed: an untrusted, expired or mismatched
  // certificate fails the request.
  UniqueInternetHandle request(::WinHttpOpenRequest(connection.Get(), L"POST", parts.pathAndQuery.c_str(),
                                                          nullptr, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                          parts.secure ? WINHTTP_FLAG_SECURE : 0));
  if (!request) return std::nullopt;
  const ControlledRequest controlled(request, control);
  if (!controlled.Attached()) return std::nullopt;

  const DWORD length = static_cast<DWORD>(body.size());
  // WinHttpSendRequest does not write to the body; its parameter is not const.
  void* data = length == 0 ? WINHTTP_NO_REQUEST_DATA : const_cast<char*>(body.data());
  if (!::WinHttpSendRequest(request.Get(), kContentType, static_cast<DWORD>(-1L), data, length, length, 0)) {
    return std::nullopt;
  }
  if (!::WinHttpReceiveResponse(request.Get(), nullptr)) return std::nullopt;
  if (!IsSuccessStatus(request.Get())) return std::nullopt;
  return ReadBody(request.Get(), maxResponseBytes);
}

}  // namespace bootmark::win32
