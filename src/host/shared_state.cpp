#include "host/shared_state.h"

#include "platform/files.h"
#include "platform/prompt.h"

namespace wcomp837 {
namespace {
std::shared_ptr<SharedState>& ThreadSlot() {
  thread_local std::shared_ptr<SharedState> slot;
  return slot;
}

constexpr const char* kOverrideTitle = "Use Different Input File?";
}  // namespace

std::shared_ptr<SharedState> AcquireSharedState() {
  std::shared_ptr<SharedState>& slot = ThreadSlot();
  if (!slot) slot = std::make_shared<SharedState>();
  return slot;
}

const SharedState* CurrentSharedState() {
  return ThreadSlot().get();
}

void Shared_Initialize(SharedState& g) {
  // Reset in place so that every object of this thread keeps seeing the same
  // state; the fresh value is built on the heap because it is large. The
  // service line table keeps its buffer (room for a claim's lines, over a
  // megabyte), emptied: a new object allocates no new table.
  std::unique_ptr<SharedState> fresh(new SharedState{});
  std::vector<DetailLine> lines = std::move(g.claim.DETAILArray);
  g = std::move(*fresh);
  lines.clear();
  g.claim.DETAILArray = std::move(lines);
  ForceADifferentInputFile(g.host);
}

void ForceADifferentInputFile(HostState& h) {
  std::string line;
  try {
    LineReader reader(OverrideFilePath());
    if (!reader.Next(line)) return;
  } catch (...) {
    return;  // no override file, or it cannot be read
  }
  if (line.empty()) return;
  const std::string text =
      "ForceADifferentInputFile feature has been detected.\n\n  Press YES to use " + line +
      "\n  Press NO  to use the file normally associated with this batch\n";
  if (CurrentUserPrompt()->AskYesNo(kOverrideTitle, text)) h.gsForcedInputFile = line;
}

}  // namespace wcomp837
