// The per-thread shared state: every Format_Class created on a thread shares
// it, and creating one resets it. It is released with the last object that
// holds it.
#pragma once

#include <memory>

#include "claim/state.h"

namespace wcomp837 {

// The calling thread's shared state, created when no object holds one;
// `created`, when given, tells whether it was.
std::shared_ptr<SharedState> AcquireSharedState(bool* created = nullptr);
// The calling thread's shared state, or nullptr when no object holds one
// (the command-line host reads where the files went).
const SharedState* CurrentSharedState();

// Resets the whole shared state to its defaults (nothing to do when `fresh`,
// just created), then runs the override check.
void Shared_Initialize(SharedState& g, bool fresh = false);
// Offers the claim file named in the override file instead of the batch's own.
void ForceADifferentInputFile(HostState& h);

}  // namespace wcomp837
