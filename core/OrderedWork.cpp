#include "core/OrderedWork.h"

#include <atomic>

namespace pictavo {

namespace {
std::atomic<std::size_t> g_workerThreads{0};
}

std::size_t GetWorkerThreadCount() {
  const std::size_t chosen = g_workerThreads.load();
  if (chosen > 0) return chosen;
  return std::max(1u, std::thread::hardware_concurrency());
}

void SetWorkerThreadCount(std::size_t count) {
  g_workerThreads.store(count);
}

}  // namespace pictavo
