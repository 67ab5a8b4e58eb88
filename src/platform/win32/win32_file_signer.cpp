#include "platform/win32/win32_file_signer.h"

#include <windows.h>
#include <wincrypt.h>

#include <memory>
#include <type_traits>

#include "platform/win32/wide.h"

namespace bootmark::win32 {
namespace {

constexpr DWORD kEncoding = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;

struct StoreCloser {
  void operator()(void* store) const { ::CertCloseStore(store, 0); }
};
struct MessageCloser {
  void operator()(void* message) const { ::CryptMsgClose(message); }
};
struct CertificateFreer {
  void operator()(const CERT_CONTEXT* certificate) const { ::CertFreeCertificateContext(certificate); }
};
struct LocalFreer {
  void operator()(void* memory) const { ::LocalFree(memory); }
};

using UniqueStore = std::unique_ptr<std::remove_pointer_t<HCERTSTORE>, StoreCloser>;
using UniqueMessage = std::unique_ptr<std::remove_pointer_t<HCRYPTMSG>, MessageCloser>;
using UniqueCertificate = std::unique_ptr<const CERT_CONTEXT, CertificateFreer>;
using UniqueLocal = std::unique_ptr<void, LocalFreer>;

}  // namespace

std::string Win32FileSigner::EmbeddedSignerName(std::string_view path) {
  // The signature embedded in the file: its certificate store and message.
  const std::wstring widePath = Wide(path);
  HCERTSTORE rawStore = nullptr;
  HCRYPTMSG rawMessage = nullptr;
  const BOOL queried = ::CryptQueryObject(CERT_QUERY_OBJECT_FILE, widePath.c_str(),
                                          CERT_QUERY_CONTENT_FLAG_PKCS7_SIGNED_EMBED, CERT_QUERY_FORMAT_FLAG_BINARY,
                                          0, nullptr, nullptr, nullptr, &rawStore, &rawMessage, nullptr);
  UniqueStore store(rawStore);
  UniqueMessage message(rawMessage);
  if (!queried || !store || !message) return {};

  // The first signer's information, asked once for its size and once for itself.
  DWORD size = 0;
  if (!::CryptMsgGetParam(message.get(), CMSG_SIGNER_INFO_PARAM, 0, nullptr, &size) || size == 0) return {};
  UniqueLocal buffer(::LocalAlloc(LPTR, size));
  if (!buffer) return {};
  if (!::CryptMsgGetParam(message.get(), CMSG_SIGNER_INFO_PARAM, 0, buffer.get(), &size)) return {};
  const auto* signer = static_cast<const CMSG_SIGNER_INFO*>(buffer.get());

  // The signer's certificate, found in the signature's store by issuer and serial number.
  CERT_INFO certificateInfo{};
  certificateInfo.Issuer = signer->Issuer;
  certificateInfo.SerialNumber = signer->SerialNumber;
  UniqueCertificate certificate(::CertFindCertificateInStore(store.get(), kEncoding, 0, CERT_FIND_SUBJECT_CERT,
                                                             &certificateInfo, nullptr));
  if (!certificate) return {};

  const DWORD length = ::CertGetNameStringW(certificate.get(), CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, nullptr, 0);
  if (length <= 1) return {};
  std::wstring name(length, L'\0');
  const DWORD written =
      ::CertGetNameStringW(certificate.get(), CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, name.data(), length);
  // The length counts the terminating zero.
  name.resize(written > 0 ? written - 1 : 0);
  return Narrow(name);
}

}  // namespace bootmark::win32
