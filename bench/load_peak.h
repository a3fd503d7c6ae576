// Peak resident memory of one loadFile, measured in a fresh process so that
// nothing the bench built beforehand counts: the bench runs its own program
// again with kLoadPeakArgument, the file and its inflated stream's size; that
// child loads the file once and prints its peak resident size (the kernel's
// high-water mark of the child's own address space, VmHWM), what it held
// before loading, and what the loaded document's big arrays hold. (The
// parent's wait4 figure would not do: a spawned child's ru_maxrss includes
// the parent's high-water mark from before the exec.) Linux only; elsewhere
// nothing is measured.
#pragma once

#include <cstdint>
#include <string>

namespace yfx_bench {

constexpr const char* kLoadPeakArgument = "--load-peak";

// Called first in a bench's main: when the arguments ask for the child's work
// (kLoadPeakArgument FILE INNER_SIZE), does it and returns its exit status (0
// when the file loaded); otherwise returns -1 and does nothing.
int runLoadPeakChild(int argc, char** argv);

// Runs the child on `path` (a host path), which prints its report and the
// peak against `innerSize`, the inflated stream's size. False when nothing
// could be measured.
bool measureLoadPeak(const std::wstring& path, std::uint64_t innerSize);

} // namespace yfx_bench
