#pragma once
// The test certificates' root, made trusted in this prefix. Under Wine a
// certificate added to the Root store stays, and a delete removes nothing,
// so the untrusted case uses a second root that is never added.
#include <string>

namespace test_support {

// Adds the DER certificate in `derFile` to the machine's Root store (again
// is harmless); false when it could not.
bool TrustRoot(const std::string& derFile);
// TrustRoot for "Varnock Test Root" of the signed fixtures.
bool TrustTestRoot();
// A module of the signed fixtures, by its file name.
std::string SignedFixture(const std::string& name);

}  // namespace test_support
