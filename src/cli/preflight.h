// What the command line checks before it sends the component anything, so a
// run that cannot succeed stops at once with one clear line.
#pragma once

#include <fstream>
#include <string>

namespace wcomp837::cli {

// "" when the output folder exists and can be written, else the system's
// reason ("No such file or directory", "Permission denied" ...).
std::string OutputFolderProblem(const std::string& folder);
// Opens the records file for reading; "" when it opened, else the reason.
std::string OpenRecordsFile(const std::string& path, std::ifstream& in);
// The system's text for an errno value.
std::string SystemReason(int err);

}  // namespace wcomp837::cli
