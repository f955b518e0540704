#include "scan/signature_check.h"

#include <wincrypt.h>
#include <wintrust.h>

#include "scan/file_source.h"
#include "scan/parse/pe_header.h"
#include "win/trust_verification.h"

namespace scan {
namespace {

using Status = SignatureCheck::Status;

std::wstring SignerName(const CRYPT_PROVIDER_SGNR& signer) {
  const CERT_CHAIN_CONTEXT* chain = signer.pChainContext;
  if (!chain || chain->cChain == 0 || chain->rgpChain[0]->cElement == 0) return {};
  const CERT_CONTEXT* leaf = chain->rgpChain[0]->rgpElement[0]->pCertContext;
  wchar_t name[256] = L"";
  ::CertGetNameStringW(leaf, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, name, std::size(name));
  return name;
}

// What the chain says once the verifier has passed the signature.
Status ChainStatus(const CRYPT_PROVIDER_SGNR& signer) {
  const CERT_CHAIN_CONTEXT* chain = signer.pChainContext;
  if (!chain) return Status::Untrusted;
  CERT_CHAIN_POLICY_PARA para{};
  para.cbSize = sizeof para;
  CERT_CHAIN_POLICY_STATUS policy{};
  policy.cbSize = sizeof policy;
  if (!::CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_AUTHENTICODE, chain, &para, &policy))
    return Status::Untrusted;
  const DWORD trust = chain->TrustStatus.dwErrorStatus;
  if (policy.dwError == static_cast<DWORD>(CERT_E_UNTRUSTEDROOT) ||
      policy.dwError == static_cast<DWORD>(CERT_E_CHAINING) ||
      (trust & (CERT_TRUST_IS_UNTRUSTED_ROOT | CERT_TRUST_IS_PARTIAL_CHAIN)))
    return Status::Untrusted;
  const bool timestamped = signer.csCounterSigners > 0;
  if (policy.dwError == static_cast<DWORD>(CERT_E_EXPIRED) ||
      ((trust & CERT_TRUST_IS_NOT_TIME_VALID) && !timestamped))
    return Status::Expired;
  return policy.dwError == 0 ? Status::Signed : Status::Untrusted;
}

Status VerifierStatus(LONG result) {
  switch (static_cast<HRESULT>(result)) {
    case TRUST_E_NOSIGNATURE:
    case TRUST_E_SUBJECT_FORM_UNKNOWN:
    case TRUST_E_PROVIDER_UNKNOWN:
      return Status::Unsigned;
    case CERT_E_UNTRUSTEDROOT:
    case CERT_E_CHAINING:
    case TRUST_E_EXPLICIT_DISTRUST:
    case CERT_E_UNTRUSTEDTESTROOT:
      return Status::Untrusted;
    case CERT_E_EXPIRED:
      return Status::Expired;
    case TRUST_E_BAD_DIGEST:
    case TRUST_E_CERT_SIGNATURE:
    case TRUST_E_NO_SIGNER_CERT:
    case CRYPT_E_HASH_VALUE:
    case NTE_BAD_SIGNATURE:
    case CRYPT_E_BAD_MSG:
    case CRYPT_E_ASN1_BADTAG:
    case CRYPT_E_ASN1_EOD:
    case CRYPT_E_ASN1_CORRUPT:
      return Status::Tampered;
    default:
      // A file the verifier could not read, or an answer with no place
      // above: not checked, which is not the same as not signed.
      return Status::Unreadable;
  }
}

SignatureCheck Verify(const std::wstring& path, HANDLE file) {
  const win::TrustVerification verification(path.c_str(), file);
  const CRYPT_PROVIDER_SGNR* signer = verification.Signer();
  SignatureCheck check;
  const LONG result = verification.Result();
  if (result == 0)
    check.status = signer ? ChainStatus(*signer) : Status::Unreadable;  // a verdict without a signer
  else
    check.status = VerifierStatus(result);
  if (check.status == Status::Unreadable)
    // The system's own reason where the verifier could not read the file.
    check.error = HRESULT_FACILITY(result) == FACILITY_WIN32 ? HRESULT_CODE(result)
                                                            : static_cast<DWORD>(result);
  // A name is told only where the signature itself holds.
  const bool named = check.status == Status::Signed || check.status == Status::Untrusted ||
                     check.status == Status::Expired;
  if (signer && named) check.signer = SignerName(*signer);
  return check;
}

}  // namespace

std::optional<SignatureCheck> CheckSignature(const std::wstring& path, bool knownModule) {
  if (knownModule) return Verify(path, nullptr);
  FileSource file(path);
  if (file.Error()) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
      return std::nullopt;
    return SignatureCheck{Status::Unreadable, {}, file.Error()};
  }
  const std::optional<std::uint16_t> machine = parse::ReadMachine(file);
  if (file.Error()) return SignatureCheck{Status::Unreadable, {}, file.Error()};
  if (!machine) return std::nullopt;
  // The verifier reads the same opened file from its start.
  LARGE_INTEGER start{};
  ::SetFilePointerEx(file.Handle(), start, nullptr, FILE_BEGIN);
  return Verify(path, file.Handle());
}

std::wstring SignatureText(const std::optional<SignatureCheck>& check) {
  if (!check) return {};
  switch (check->status) {
    case Status::Signed: return L"Signed by " + check->signer;
    case Status::Untrusted: return L"Untrusted: " + check->signer;
    case Status::Expired: return L"Expired: " + check->signer;
    case Status::Unsigned: return L"Not signed";
    case Status::Tampered: return L"Tampered";
    case Status::Unreadable: return L"Cannot check";
  }
  return {};
}

std::string_view StatusWord(SignatureCheck::Status status) {
  switch (status) {
    case Status::Signed: return "signed";
    case Status::Untrusted: return "untrusted";
    case Status::Expired: return "expired";
    case Status::Unsigned: return "unsigned";
    case Status::Tampered: return "tampered";
    case Status::Unreadable: return "unreadable";
  }
  return "unreadable";
}

}  // namespace scan
