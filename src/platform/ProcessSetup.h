#pragma once

namespace wendmoor {

// Called first thing in main: a write past a file-size limit then fails with an error that
// the extraction handles (the target keeps its old bytes) instead of killing the process
// half-way through an install; and Ctrl+C, SIGTERM and SIGHUP during a command remove its
// temporary files before the process ends (see StopRequest.h).
void PrepareProcessForFileWrites();

}  // namespace wendmoor
