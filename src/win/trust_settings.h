#pragma once
// The system's signature verifier finds its providers, its subject
// interface packages and the Root store below HKEY_LOCAL_MACHINE. A key that
// is to stand in for it (RegOverridePredefKey) gets copies of them, so a
// signature check answers there as it does on the machine.
#include <windows.h>

namespace win {

// Copies the verifier's keys from the real HKEY_LOCAL_MACHINE below
// `standIn`; call it before HKEY_LOCAL_MACHINE is redirected there.
void CopyTrustSettings(HKEY standIn);

}  // namespace win
