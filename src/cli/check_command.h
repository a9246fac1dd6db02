// "wcomp837 check FILE...": re-reads claim files and prints what a payer's
// front end would reject first.
#pragma once

#include <string>
#include <vector>

namespace wcomp837::cli {

// Exit status: 0 no problem, 1 problems found, 3 a file could not be read.
int RunCheck(const std::vector<std::string>& files, bool quiet);

}  // namespace wcomp837::cli
