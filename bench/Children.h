#pragma once

namespace wendmoor::bench {

// The measurements that run in a fresh process of their own, started by the benchmark as
// "wendmoor_bench --run WHAT ARGUMENTS...": each prints the seconds it timed itself on its
// first line and exits with 0 when its result was right. Returns the exit code; 2 when
// `argv` names no such measurement.
int RunChild(int argc, char** argv);

}  // namespace wendmoor::bench
