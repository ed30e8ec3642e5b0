#include "app/common/Parallel.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// Below this many jobs a thread costs more than it saves.
constexpr size_t kJobsPerThread = 32;
// File reads wait on the disk as much as on the processor: a few threads beyond the cores help
// no more.
constexpr size_t kMostThreads = 8;

}  // namespace

void RunInParallel(size_t count, const std::function<void(size_t)>& job) {
  const size_t cores = std::max<size_t>(1, std::thread::hardware_concurrency());
  const size_t threads = std::min({cores, kMostThreads, count / kJobsPerThread});
  std::atomic<size_t> next{0};
  const auto work = [&] {
    for (size_t i = next.fetch_add(1, std::memory_order_relaxed); i < count;
         i = next.fetch_add(1, std::memory_order_relaxed))
      job(i);
  };
  std::vector<std::thread> helpers;
  if (threads > 1) helpers.reserve(threads - 1);
  for (size_t t = 1; t < threads; ++t) {
    try {
      helpers.emplace_back(work);
    } catch (const std::system_error&) {
      break;  // the threads started so far and this one share the jobs
    }
  }
  work();
  for (std::thread& helper : helpers) helper.join();
}
