// The per-thread shared state: every Format_Class created on a thread shares
// it, and creating one resets it.
#pragma once

#include <memory>

#include "host/state.h"

namespace wcomp837 {

// The calling thread's shared state, created on first use.
std::shared_ptr<SharedState> AcquireSharedState();
// The calling thread's shared state, or nullptr when no object was created on
// it yet (the command-line host reads where the files went).
const SharedState* CurrentSharedState();

// Resets the whole shared state to its defaults, then runs the override check.
void Shared_Initialize(SharedState& g);
// Offers the claim file named in the override file instead of the batch's own.
void ForceADifferentInputFile(HostState& h);

}  // namespace wcomp837
