// trust-root FILE.der: makes a test's throwaway root trusted in this prefix,
// for tests that run the shipped programs rather than link the check.
#include <cstdio>

#include "support/test_root.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: trust-root FILE.der\n", stderr);
    return 2;
  }
  return test_support::TrustRoot(argv[1]) ? 0 : 1;
}
