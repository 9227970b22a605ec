// libFuzzer's entry point for one target; VF_FUZZ_TARGET names the function
// of FuzzTargets.h this program runs.
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return fuzz::VF_FUZZ_TARGET(data, size);
}
