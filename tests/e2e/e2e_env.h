// Runs host records files through the component the way the host does, in
// the surroundings of tests/faults/component_env.h (fixed clock, example
// settings files, an output folder of its own), and reads back what it wrote.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "faults/batch_runner.h"
#include "faults/component_env.h"

namespace wcomp837::testing {

using HostRecord = testing::HostLine;

// Sets input field `field` of the records of type `type` (the nth of them
// only, counting from 0, when nth is given).
void SetField(std::vector<HostRecord>& records, const std::string& type, std::size_t field,
              const std::string& value, int nth = -1);
// The records of tests/batches/<name>/batch.txt.
std::vector<HostRecord> BatchRecords(const std::string& name);

// What one batch left behind.
struct BatchOutput {
  std::string claimFile;
  std::string nacFile;
  std::string runLog;                 // its folders named COMPONENT and OUT
  std::vector<std::string> messages;  // every message read after a non-zero answer
  std::int16_t worstAnswer = 0;
};

class E2eTest : public ComponentEnv {
 protected:
  // Sends the output folder and claim file name, every record, then ends
  // the batch.
  BatchOutput Run(const std::vector<HostRecord>& records);
};

// Segments whose text starts with `prefix`.
std::vector<std::string> Starting(const std::vector<std::string>& segments,
                                  const std::string& prefix);

}  // namespace wcomp837::testing
