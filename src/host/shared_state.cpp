#include "host/shared_state.h"

#include "claim/tables.h"
#include "platform/files.h"
#include "platform/prompt.h"

namespace wcomp837 {
namespace {
// The thread's state lives while an object of the thread holds it, so that
// nothing of a batch outlives its objects. The service line table of the
// last state is kept, emptied, for the thread's next one: its lines keep
// their storage, so that a new object builds no new table.
struct ThreadSlot {
  std::weak_ptr<SharedState> state;
  std::vector<DetailLine> spareLines;
  ~ThreadSlot();
};
thread_local bool tSlotGone = false;  // trivially destructible: readable at thread exit

ThreadSlot::~ThreadSlot() {
  tSlotGone = true;
}

ThreadSlot& Slot() {
  thread_local ThreadSlot slot;
  return slot;
}

void ReleaseState(SharedState* g) noexcept {
  if (!tSlotGone) {
    ThreadSlot& slot = Slot();
    if (slot.state.expired()) slot.state.reset();
    std::vector<DetailLine>& spare = slot.spareLines;
    if (g->claim.DETAILArray.size() > spare.size()) {
      EmptyDetailLines(g->claim.DETAILArray);
      spare = std::move(g->claim.DETAILArray);
    }
  }
  delete g;
}

constexpr const char* kOverrideTitle = "Use Different Input File?";
}  // namespace

std::shared_ptr<SharedState> AcquireSharedState(bool* created) {
  ThreadSlot& slot = Slot();
  std::shared_ptr<SharedState> state = slot.state.lock();
  if (created) *created = !state;
  if (!state) {
    // Built on the heap because it is large.
    state = std::shared_ptr<SharedState>(new SharedState{}, ReleaseState);
    state->claim.DETAILArray = std::move(slot.spareLines);
    slot.spareLines.clear();
    slot.state = state;
  }
  return state;
}

const SharedState* CurrentSharedState() {
  return Slot().state.lock().get();
}

void Shared_Initialize(SharedState& g, bool fresh) {
  if (!fresh) {
    // Reset in place so that every object of this thread keeps seeing the
    // same state; the fresh value is built on the heap because it is large.
    // The service line table keeps its lines (InitializeClaimTables, which
    // follows, empties them): a new object builds no new table.
    std::unique_ptr<SharedState> reset(new SharedState{});
    std::vector<DetailLine> lines = std::move(g.claim.DETAILArray);
    g = std::move(*reset);
    g.claim.DETAILArray = std::move(lines);
  }
  ForceADifferentInputFile(g.host);
}

void ForceADifferentInputFile(HostState& h) {
  const std::string path = OverrideFilePath();
  // Most machines have no override file: that case costs one look-up.
  if (!FileExists(path)) return;
  std::string line;
  try {
    LineReader reader(path);
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
