#pragma once
// Runs independent jobs on several threads: the calling thread and up to a few others, as many
// as the machine has cores and the jobs are worth. Used where many files are read at once.

#include <cstddef>
#include <functional>

// Calls job(i) once for every i in [0, count), in no particular order and on any of the
// threads, and returns when all are done. A job must touch nothing another job touches and
// must not throw. With few jobs, or when no thread can be started, they all run here.
void RunInParallel(size_t count, const std::function<void(size_t)>& job);
