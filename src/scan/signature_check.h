#pragma once
// Whether a file is its signer's and unchanged, as the system's own verifier
// decides, and who signed it. It knows nothing of windows.
//
// Wine 8's WinVerifyTrust passes a SHA-256 chain that ends at an untrusted
// root, that has expired or that stops short of any root, so after its 0
// the signer's chain goes through the Authenticode chain policy and its own
// TrustStatus as well; on Windows both agree with the verifier anyway.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace scan {

struct SignatureCheck {
  enum class Status { Signed, Untrusted, Expired, Unsigned, Tampered, Unreadable };
  Status status = Status::Unreadable;
  std::wstring signer;  // the leaf's display name; empty when unknown
  DWORD error = 0;      // Unreadable: why, as a system error or an HRESULT
};

// Nothing for a file that is no PE module (a folder included). `knownModule`:
// the scan has read a PE header there already, so the verifier alone opens
// the file; otherwise the file is opened and its header read first.
std::optional<SignatureCheck> CheckSignature(const std::wstring& path, bool knownModule = false);

// "Signed by <signer>", "Not signed", ...: the list's and the report's text,
// empty for no module.
std::wstring SignatureText(const std::optional<SignatureCheck>& check);
// "signed", "untrusted", ...: the machine formats' word.
std::string_view StatusWord(SignatureCheck::Status status);

}  // namespace scan
