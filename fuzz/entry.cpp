// The libFuzzer program of one target, chosen when it is built
// (ZUB_FUZZ_TARGET names the function of targets.h).
#include "targets.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::noteFuzzerArguments(*argc, *argv);
  fuzz::prepare();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ZUB_FUZZ_TARGET(data, size);
  return 0;
}
