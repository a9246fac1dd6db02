// Whole batches for the fault, thread and large-batch tests: the example
// batch and generated ones, and a runner that drives a component through a
// batch the way the host does, keeping every answer and message it saw.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "batch_generator.h"
#include "support/test_support.h"
#include "wcomp837/format_class.h"

namespace wcomp837::testing {

using BatchLine = testing::HostLine;
using Batch = std::vector<BatchLine>;

// A records file: key TAB record per line; "#" lines and empty lines skipped.
inline Batch ReadRecordsFile(const std::string& path) {
  return testing::ParseRecordsText(ReadFile(path));
}

inline Batch ExampleBatch() {
  return ReadRecordsFile(SourceDir() + "/examples/batch.txt");
}

inline Batch GeneratedBatch(const bench::BatchOptions& options) {
  Batch batch;
  bench::GenerateBatch(options, [&](const std::string& key, const std::string& record) {
    batch.push_back({key, record});
  });
  return batch;
}

// Every message of the list, as GetAMessage gives them.
inline std::vector<std::string> ReadAllMessages(Format_Class& fc) {
  std::vector<std::string> out;
  for (std::int32_t i = 1;; ++i) {
    std::string m = fc.GetAMessage(i);
    if (m == "END") break;
    out.push_back(std::move(m));
  }
  return out;
}

// What the host saw during one batch.
struct HostView {
  std::vector<std::int16_t> recordResults;
  std::int16_t endOfFile = -1;
  std::int16_t finalCheck = -1;
  // Messages read after every non-zero answer, in order.
  std::vector<std::string> messages;
  // Messages read after ProcessEndOfFile and after ProcessFormattedRecords.
  std::vector<std::string> endMessages;
  std::vector<std::string> checkMessages;

  bool Saw(const std::string& text) const {
    for (const std::string& m : messages) {
      if (m.find(text) != std::string::npos) return true;
    }
    return false;
  }
  // Index of the first record answered with `result`, or -1.
  std::int64_t FirstRecordAnswering(std::int16_t result) const {
    for (std::size_t i = 0; i < recordResults.size(); ++i) {
      if (recordResults[i] == result) return static_cast<std::int64_t>(i);
    }
    return -1;
  }
};

struct BatchHooks {
  // Runs before record i is handed over.
  std::function<void(std::size_t i)> beforeRecord;
  // Runs after record i was answered with `result` (before its messages are
  // read when it is non-zero).
  std::function<void(std::size_t i, std::int16_t result)> afterRecord;
  // Runs before ProcessEndOfFile.
  std::function<void()> beforeEnd;
};

// Sends the output folder and claim file name, every record, then ends and
// checks the batch. Messages are read after every non-zero answer.
inline HostView RunBatch(Format_Class& fc, const std::string& folder, const std::string& file,
                         const Batch& batch, const BatchHooks& hooks = {}) {
  HostView view;
  auto collect = [&](std::int16_t result, std::vector<std::string>* also = nullptr) {
    if (result == 0) return;
    for (std::string& m : ReadAllMessages(fc)) {
      if (also) also->push_back(m);
      view.messages.push_back(std::move(m));
    }
  };
  collect(fc.HereIsAMessage("1", folder));
  collect(fc.HereIsAMessage("2", file));
  view.recordResults.reserve(batch.size());
  for (std::size_t i = 0; i < batch.size(); ++i) {
    if (hooks.beforeRecord) hooks.beforeRecord(i);
    const std::int16_t r = fc.FormatRecord(batch[i].key, batch[i].record);
    view.recordResults.push_back(r);
    if (hooks.afterRecord) hooks.afterRecord(i, r);
    collect(r);
  }
  if (hooks.beforeEnd) hooks.beforeEnd();
  view.endOfFile = fc.ProcessEndOfFile();
  collect(view.endOfFile, &view.endMessages);
  view.finalCheck = fc.ProcessFormattedRecords();
  collect(view.finalCheck, &view.checkMessages);
  return view;
}

}  // namespace wcomp837::testing
