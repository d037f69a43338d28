#pragma once

// A stable bottom-up merge sort over a three-way comparison. Unlike std::sort it stays within
// bounds whatever the comparison answers, even when it contradicts itself or starts answering 0
// half-way (a cancelled list sort): every index it touches comes from the loop bounds, never from
// the answers, so the result is always a permutation of the input.

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace pictavo {

// compare(a, b) < 0 puts a first; 0 keeps the present order (stable); > 0 puts b first.
template <typename T, typename Compare>
void MergeSort(std::vector<T>& values, Compare&& compare) {
  const std::size_t count = values.size();
  if (count < 2) return;
  std::vector<T> buffer(count);
  for (std::size_t width = 1; width < count; width *= 2) {
    for (std::size_t low = 0; low < count; low += 2 * width) {
      const std::size_t middle = std::min(low + width, count);
      const std::size_t high = std::min(low + 2 * width, count);
      std::size_t left = low;
      std::size_t right = middle;
      std::size_t out = low;
      // Runs already in order (the common case after a listing) cost one comparison.
      if (middle < high && compare(values[middle - 1], values[middle]) <= 0) {
        for (std::size_t i = low; i < high; ++i) buffer[i] = std::move(values[i]);
        continue;
      }
      while (left < middle && right < high) {
        if (compare(values[left], values[right]) > 0) {
          buffer[out++] = std::move(values[right++]);
        } else {
          buffer[out++] = std::move(values[left++]);
        }
      }
      while (left < middle) buffer[out++] = std::move(values[left++]);
      while (right < high) buffer[out++] = std::move(values[right++]);
    }
    values.swap(buffer);
  }
}

}  // namespace pictavo
