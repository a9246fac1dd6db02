// Whole batches for the fault, thread and large-batch tests: the example
// batch and generated ones, and a runner that drives a component through a
// batch the way the host does, keeping every answer and message it saw.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "batch_generator.h"
#include "support/test_support.h"
#include "wcomp837/format_class.h"

namespace wcomp837::testing {

using BatchLine = HostLine;
using Batch = std::vector<BatchLine>;

inline Batch ExampleBatch() {
  return ParseRecordsText(ReadFile(SourceDir() + "/examples/batch.txt"));
}

inline Batch GeneratedBatch(const bench::BatchOptions& options) {
  Batch batch;
  bench::GenerateBatch(options, [&](const auto& key, const auto& rec) {
    batch.push_back({key, rec});
  });
  return batch;
}

// The fields of a record or key, split at "//", and joined again.
inline std::vector<std::string> Fields(const std::string& record) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (std::size_t at; (at = record.find("//", start)) != std::string::npos; start = at + 2) {
    out.push_back(record.substr(start, at - start));
  }
  out.push_back(record.substr(start));
  return out;
}

inline std::string Joined(const std::vector<std::string>& fields) {
  std::string out = fields[0];
  for (std::size_t i = 1; i < fields.size(); ++i) out += "//" + fields[i];
  return out;
}

// Every message of the list, as GetAMessage gives them.
inline std::vector<std::string> ReadAllMessages(Format_Class& fc) {
  std::vector<std::string> out;
  for (std::int32_t i = 1; out.empty() || out.back() != "END"; ++i)
    out.push_back(fc.GetAMessage(i));
  out.pop_back();
  return out;
}

// How many of the messages contain `text`.
inline std::size_t Count(const std::vector<std::string>& messages, const std::string& text) {
  return std::count_if(messages.begin(), messages.end(),
                       [&](const std::string& m) { return m.find(text) != std::string::npos; });
}

// What the host saw during one batch.
struct HostView {
  std::vector<std::int16_t> recordResults;
  std::int16_t endOfFile = -1;
  std::int16_t finalCheck = -1;
  // Messages read after every non-zero answer, in order.
  std::vector<std::string> messages;
  // Every message in the list after any call, whatever it answered.
  std::vector<std::string> heard;

  bool Saw(const std::string& text) const { return Count(messages, text) > 0; }
  // Index of the first record answered with `result`, or -1.
  std::int64_t FirstRecordAnswering(std::int16_t result) const {
    const auto at = std::find(recordResults.begin(), recordResults.end(), result);
    return at == recordResults.end() ? -1 : at - recordResults.begin();
  }
};

struct BatchHooks {
  // Before record i is handed over, and before ProcessEndOfFile.
  std::function<void(std::size_t i)> beforeRecord;
  std::function<void()> beforeEnd;
};

// Sends the output folder and claim file name, every record, then ends and
// checks the batch, reading the message list after every call.
inline HostView RunBatch(Format_Class& fc, const std::string& folder, const std::string& file,
                         const Batch& batch, const BatchHooks& hooks = {}) {
  HostView view;
  auto collect = [&](std::int16_t result) {
    for (const std::string& m : ReadAllMessages(fc)) {
      view.heard.push_back(m);
      if (result != 0) view.messages.push_back(m);
    }
  };
  collect(fc.HereIsAMessage("1", folder));
  collect(fc.HereIsAMessage("2", file));
  for (std::size_t i = 0; i < batch.size(); ++i) {
    if (hooks.beforeRecord) hooks.beforeRecord(i);
    const std::int16_t r = fc.FormatRecord(batch[i].key, batch[i].record);
    view.recordResults.push_back(r);
    collect(r);
  }
  if (hooks.beforeEnd) hooks.beforeEnd();
  collect(view.endOfFile = fc.ProcessEndOfFile());
  collect(view.finalCheck = fc.ProcessFormattedRecords());
  return view;
}

}  // namespace wcomp837::testing
