#pragma once

// The worker pool for image work: one thread per core (GetWorkerThreadCount), each freeing the
// image library's per-thread state as it ends. Results come back in submission order.

#include "core/OrderedWork.h"
#include "items/ImageUtils.h"

namespace pictavo {

template <class Result>
class ImageWork : public OrderedWork<Result> {
 public:
  ImageWork()
      : OrderedWork<Result>(GetWorkerThreadCount(), 0, ImageUtils::ReleaseThreadResources) {}
};

}  // namespace pictavo
