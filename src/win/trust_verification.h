#pragma once
// One Authenticode verification by the system's verifier (WinVerifyTrust,
// WINTRUST_ACTION_GENERIC_VERIFY_V2), holding its state until the owner
// goes: the destructor closes it (WTD_STATEACTION_CLOSE) on every path.
// Never the network, never a dialog: no UI, no revocation check, cache-only
// retrieval. Wine's wintrust crashes on a struct whose size is wrong, so
// every struct is zeroed and sized.
#include <windows.h>
#include <wincrypt.h>
#include <wintrust.h>

namespace win {

class TrustVerification {
 public:
  // `file`, if not null, is the opened `path`; the verifier then reads it.
  TrustVerification(const wchar_t* path, HANDLE file);
  ~TrustVerification();
  TrustVerification(const TrustVerification&) = delete;
  TrustVerification& operator=(const TrustVerification&) = delete;

  // WinVerifyTrust's answer: 0 or an HRESULT such as TRUST_E_NOSIGNATURE.
  LONG Result() const { return result_; }
  // The first signer, while the state is held; null when there is none.
  CRYPT_PROVIDER_SGNR* Signer() const;

 private:
  WINTRUST_FILE_INFO file_;
  WINTRUST_DATA data_;
  LONG result_ = 0;
};

}  // namespace win
