// The libFuzzer entry point of one target: the build names the check it runs
// (KIVO_FUZZ_CHECK), so every target is this file and one check of
// FuzzChecks. A PropertyViolation leaves the entry point, and libFuzzer
// reports the input as a crash.
#include "FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzChecks::KIVO_FUZZ_CHECK(data, size);
    return 0;
}
