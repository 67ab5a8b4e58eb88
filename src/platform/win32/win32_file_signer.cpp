#include "platform/win32/win32_file_signer.h"

#include <windows.h>
#include <wincrypt.h>

#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace bootmark::win32 {
namespace {

constexpr DWORD kEncoding = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;

void CloseStore(HCERTSTORE store) { ::CertCloseStore(store, 0); }
void CloseMessage(HCRYPTMSG message) { ::CryptMsgClose(message); }
void FreeCertificate(PCCERT_CONTEXT certificate) { ::CertFreeCertificateContext(certificate); }

using UniqueStore = UniqueResource<HCERTSTORE, CloseStore>;
using UniqueMessage = UniqueResource<HCRYPTMSG, CloseMessage>;
using UniqueCertificate = UniqueResource<PCCERT_CONTEXT, FreeCertificate>;

}  // namespace

std::string Win32FileSigner::EmbeddedSignerName(std::string_view path) {
  // The signature embedded in the file: its certificate store and message.
  const std::wstring widePath = Wide(path);
  UniqueStore store;
  UniqueMessage message;
  const BOOL queried = ::CryptQueryObject(CERT_QUERY_OBJECT_FILE, widePath.c_str(),
                                          CERT_QUERY_CONTENT_FLAG_PKCS7_SIGNED_EMBED, CERT_QUERY_FORMAT_FLAG_BINARY,
                                          0, nullptr, nullptr, nullptr, store.Put(), message.Put(), nullptr);
  if (!queried || !store || !message) return {};

  // The first signer's information, asked once for its size and once for itself.
  DWORD size = 0;
  if (!::CryptMsgGetParam(message.Get(), CMSG_SIGNER_INFO_PARAM, 0, nullptr, &size) || size == 0) return {};
  const UniqueLocal<HLOCAL> buffer(::LocalAlloc(LPTR, size));
  if (!buffer) return {};
  if (!::CryptMsgGetParam(message.Get(), CMSG_SIGNER_INFO_PARAM, 0, buffer.Get(), &size)) return {};
  const auto* signer = static_cast<const CMSG_SIGNER_INFO*>(buffer.Get());

  // The signer's certificate, found in the signature's store by issuer and serial number.
  CERT_INFO certificateInfo{};
  certificateInfo.Issuer = signer->Issuer;
  certificateInfo.SerialNumber = signer->SerialNumber;
  UniqueCertificate certificate(::CertFindCertificateInStore(store.Get(), kEncoding, 0, CERT_FIND_SUBJECT_CERT,
                                                             &certificateInfo, nullptr));
  if (!certificate) return {};

  const DWORD length = ::CertGetNameStringW(certificate.Get(), CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, nullptr, 0);
  if (length <= 1) return {};
  std::wstring name(length, L'\0');
  const DWORD written =
      ::CertGetNameStringW(certificate.Get(), CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, name.data(), length);
  // The length counts the terminating zero.
  name.resize(written > 0 ? written - 1 : 0);
  return Narrow(name);
}

}  // namespace bootmark::win32
