// Replays every input a fuzz target ever found a fault with, and the
// hand-made edge cases kept beside them (fuzz/regressions/<target>/): odd
// keys, huge field counts, short records, amounts out of range, broken
// settings files and claim files. Each must run within the protocol.
#include <filesystem>
#include <functional>

#include "../../fuzz/fuzz_inputs.h"
#include "faults/component_env.h"

namespace wcomp837::testing {
namespace {

class FuzzRegressions : public ComponentEnv {};

TEST_F(FuzzRegressions, EveryKeptInputRunsWithinTheProtocol) {
  using Runner = std::function<std::string(const std::string& input)>;
  const std::string claimFile = Out("claims.837");
  const std::pair<const char*, Runner> kTargets[] = {
      {"records", [&](const std::string& in) { return fuzzing::RunRecordsInput(OutFolder(), in); }},
      {"settings",
       [&](const std::string& in) { return fuzzing::RunSettingsInput(ComponentFolder(), in); }},
      {"summary",
       [&](const std::string& in) {
         Format_Class fc;
         fc.HereIsAMessage("1", OutFolder());
         fc.HereIsAMessage("2", "claims.837");
         fc.HereIsAMessage("7", kPdfPrinterName);
         return fuzzing::RunSummaryInput(fc, claimFile, in);
       }},
      {"guide", [&](const std::string& in) { return fuzzing::RunGuideInput(Out("ack.997"), in); }},
  };
  for (const auto& [target, run] : kTargets) {
    int replayed = 0;
    std::error_code ec;
    const std::string folder = SourceDir() + "/fuzz/regressions/" + target;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
      if (!entry.is_regular_file() || entry.path().filename().string()[0] == '.') continue;
      SCOPED_TRACE(entry.path().string());
      EXPECT_EQ(run(ReadFile(entry.path().string())), "");
      ++replayed;
    }
    EXPECT_GE(replayed, 1) << target;
  }
}

}  // namespace
}  // namespace wcomp837::testing
