// libFuzzer target: host records through claim assembly and the claim file
// writer, driven as a host script (host_script.h), without reports. Every
// file goes to the sandbox's output folder, emptied after each input. A
// wrong answer aborts, so that the input is kept.
#include <cstdint>

#include "fuzz_inputs.h"
#include "sandbox.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace wcomp837::fuzzing;
  const Sandbox& box = TheSandbox();
  ExpectNoProblem(RunRecordsInput(box.out.string(), Bytes(data, size)));
  EmptyFolder(box.out);
  return 0;
}
