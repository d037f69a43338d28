#include "core/OrderedWork.h"

namespace pictavo {

std::size_t GetWorkerThreadCount(std::size_t wanted) {
  if (wanted > 0) return wanted;
  return std::max(1u, std::thread::hardware_concurrency());
}

}  // namespace pictavo
