// One run of the command line against the component: settings, queries, the
// batch, reports and deletion, in that order.
#pragma once

#include "cli/options.h"

namespace wcomp837::cli {

// Runs what opt asks for and answers the exit status (0, 1, 3; 2 when the
// records file cannot be read).
int RunSession(const Options& opt);

}  // namespace wcomp837::cli
