#include "lib/ServerLifetime.h"

#include <atomic>

namespace orvo {
namespace {
std::atomic<long> liveObjects{0};
std::atomic<long> serverLocks{0};
}  // namespace

void objectCreated() { ++liveObjects; }

void objectDestroyed() { --liveObjects; }

void lockServer(bool lock) {
  if (lock) {
    ++serverLocks;
    return;
  }
  // An unbalanced unlock never drives the count below zero.
  long current = serverLocks.load();
  while (current > 0 && !serverLocks.compare_exchange_weak(current, current - 1)) {
  }
}

bool serverInUse() { return liveObjects.load() > 0 || serverLocks.load() > 0; }

}  // namespace orvo
