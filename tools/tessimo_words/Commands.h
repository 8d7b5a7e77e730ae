// The subcommands of tessimo-words. Each returns the process exit status (0 done, 1 failed,
// 2 misused) and writes its results to out and its complaints to err.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tessimo::words {

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tessimo::words
