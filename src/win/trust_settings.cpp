#include "win/trust_settings.h"

#include "win/unique_handle.h"

namespace win {

void CopyTrustSettings(HKEY standIn) {
  for (const char* path :
       {"SOFTWARE\\Microsoft\\Cryptography", "SOFTWARE\\Microsoft\\SystemCertificates"}) {
    UniqueHkey from, to;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, from.put()) == ERROR_SUCCESS &&
        ::RegCreateKeyExA(standIn, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, to.put(),
                          nullptr) == ERROR_SUCCESS)
      ::RegCopyTreeA(from.get(), nullptr, to.get());
  }
}

}  // namespace win
