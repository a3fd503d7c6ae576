// Exit statuses of every yfx command.
#pragma once

namespace yfx {

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1; // a rejected or failed file, module or operation
constexpr int kExitUsage = 2;   // bad command line

} // namespace yfx
