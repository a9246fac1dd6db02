// Replays the fuzzer's hand-made seeds and every input it ever found a fault
// with (fuzz/regressions/): odd keys, huge field counts, short records, bytes
// outside ASCII. Every call must answer 0, 1 or 3 and nothing may crash.
#include "../../fuzz/host_script.h"

#include <filesystem>

#include "faults/component_env.h"

namespace wcomp837::testing {
namespace {

class HostScripts : public ComponentEnv {};

TEST_F(HostScripts, SeedsAndFoundFaultsAnswerWithinTheProtocol) {
  int replayed = 0;
  for (const char* folder : {"/fuzz/seeds", "/fuzz/regressions"}) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(SourceDir() + folder, ec)) {
      if (!entry.is_regular_file() || entry.path().filename().string()[0] == '.') continue;
      SCOPED_TRACE(entry.path().string());
      fuzzing::HostScript host(OutFolder());
      EXPECT_TRUE(host.Run(ReadFile(entry.path().string()))) << host.problem();
      ++replayed;
    }
  }
  EXPECT_GE(replayed, 3);
}

}  // namespace
}  // namespace wcomp837::testing
