#pragma once

// The worker pool for image work: the threads asked for (0: one per core), each freeing the
// image library's per-thread state as it ends. Results come back in submission order.

#include "core/OrderedWork.h"
#include "items/ImageUtils.h"

namespace pictavo {

template <class Result>
class ImageWork : public OrderedWork<Result> {
 public:
  explicit ImageWork(std::size_t workers = 0)
      : OrderedWork<Result>(workers, 0, ImageUtils::ReleaseThreadResources) {}
};

}  // namespace pictavo
