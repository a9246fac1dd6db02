// libFuzzer target: the implementation-guide check reads the input as a
// claim file and writes the functional acknowledgment of what it read; the
// acknowledgment is then checked as any interchange. No input may crash or
// hang the check, and the acknowledgment must always be sound: an error in
// it aborts, so that the input is kept.
#include <cstdint>

#include "fuzz_inputs.h"
#include "sandbox.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace wcomp837::fuzzing;
  const Sandbox& box = TheSandbox();
  ExpectNoProblem(RunGuideInput((box.out / "ack.997").string(), Bytes(data, size)));
  return 0;
}
