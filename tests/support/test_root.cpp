#include "support/test_root.h"

#include <windows.h>
#include <wincrypt.h>

#include "support/temp_tree.h"
#include "test_paths.h"
#include "win/unique_handle.h"

namespace test_support {
namespace {
void CloseStore(HCERTSTORE store) noexcept { ::CertCloseStore(store, 0); }
using UniqueStore = win::UniqueHandle<win::traits::NullIsZero<HCERTSTORE, &CloseStore>>;
}  // namespace

bool TrustRoot(const std::string& derFile) {
  const std::string der = ReadWholeFile(derFile);
  if (der.empty()) return false;
  const UniqueStore store(::CertOpenStore(
      CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root"));
  if (!store) return false;
  return ::CertAddEncodedCertificateToStore(
             store.get(), X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
             static_cast<DWORD>(der.size()), CERT_STORE_ADD_USE_EXISTING, nullptr) != FALSE;
}

bool TrustTestRoot() { return TrustRoot(SignedFixture("pki\\root.der")); }

std::string SignedFixture(const std::string& name) {
  return std::string(test_paths::kSignedDir) + "\\" + name;
}

}  // namespace test_support
