// libFuzzer target: the summary report's reader. The input is taken as a
// finished claim file and report 1 prints it to a surface that keeps nothing
// (no document is written). One component serves every input.
#include <cstdint>

#include "fuzz_inputs.h"
#include "sandbox.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace wcomp837::fuzzing;
  const Sandbox& box = TheSandbox();
  static wcomp837::Format_Class* fc = [&box] {
    auto* made = new wcomp837::Format_Class;
    made->HereIsAMessage("1", box.out.string());
    made->HereIsAMessage("2", "claims.837");
    made->HereIsAMessage("7", wcomp837::kPdfPrinterName);
    return made;
  }();
  ExpectNoProblem(RunSummaryInput(*fc, (box.out / "claims.837").string(), Bytes(data, size)));
  return 0;
}
