#include "win/trust_verification.h"

#include <softpub.h>

namespace win {

TrustVerification::TrustVerification(const wchar_t* path, HANDLE file) : file_{}, data_{} {
  file_.cbStruct = sizeof file_;
  file_.pcwszFilePath = path;
  file_.hFile = file;
  data_.cbStruct = sizeof data_;
  data_.dwUIChoice = WTD_UI_NONE;
  data_.fdwRevocationChecks = WTD_REVOKE_NONE;
  data_.dwUnionChoice = WTD_CHOICE_FILE;
  data_.pFile = &file_;
  data_.dwStateAction = WTD_STATEACTION_VERIFY;
  data_.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL;
  GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
  result_ = ::WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data_);
}

TrustVerification::~TrustVerification() {
  // The state exists whatever the answer was; closing one that does not is harmless.
  data_.dwStateAction = WTD_STATEACTION_CLOSE;
  GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
  ::WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data_);
}

CRYPT_PROVIDER_SGNR* TrustVerification::Signer() const {
  if (!data_.hWVTStateData) return nullptr;
  CRYPT_PROVIDER_DATA* provider = ::WTHelperProvDataFromStateData(data_.hWVTStateData);
  if (!provider) return nullptr;
  return ::WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0);
}

}  // namespace win
