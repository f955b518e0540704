// libFuzzer's entry, one executable per target: VARNOCK_FUZZ_TARGET names
// the body in targets.h.
#include "targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return fuzz::VARNOCK_FUZZ_TARGET(data, size);
}
