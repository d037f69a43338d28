#include "items/MergeSort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <utility>
#include <vector>

namespace pictavo {
namespace {

using Entry = std::pair<int, int>;  // key, position before the sort

std::vector<Entry> RandomEntries(std::mt19937& random, int count, int keys) {
  std::vector<Entry> entries;
  for (int i = 0; i < count; ++i) entries.push_back({static_cast<int>(random() % keys), i});
  return entries;
}

TEST(MergeSort, MatchesAStableSortForEverySize) {
  std::mt19937 random(7);
  for (int count : {0, 1, 2, 3, 7, 8, 9, 31, 64, 100, 257, 1000}) {
    SCOPED_TRACE(count);
    std::vector<Entry> entries = RandomEntries(random, count, 5);
    std::vector<Entry> expected = entries;
    std::stable_sort(expected.begin(), expected.end(),
                     [](const Entry& a, const Entry& b) { return a.first < b.first; });
    MergeSort(entries, [](const Entry& a, const Entry& b) { return a.first - b.first; });
    EXPECT_EQ(entries, expected);
  }
}

TEST(MergeSort, DescendingComparisonsKeepEqualKeysInOrder) {
  std::vector<Entry> entries = {{1, 0}, {3, 1}, {1, 2}, {2, 3}, {3, 4}};
  MergeSort(entries, [](const Entry& a, const Entry& b) { return b.first - a.first; });
  EXPECT_EQ(entries, (std::vector<Entry>{{3, 1}, {3, 4}, {2, 3}, {1, 0}, {1, 2}}));
}

// Comparisons that lie, contradict themselves or stop answering must still give a permutation.
TEST(MergeSort, HostileComparisonsStillGiveAPermutation) {
  std::mt19937 random(11);
  int calls = 0;
  const std::vector<std::function<int(const Entry&, const Entry&)>> comparisons = {
      [&](const Entry&, const Entry&) { return static_cast<int>(random() % 3) - 1; },
      [](const Entry&, const Entry&) { return 1; },
      [](const Entry&, const Entry&) { return -1; },
      [&](const Entry& a, const Entry& b) { return ++calls > 50 ? 0 : a.first - b.first; },
  };
  for (std::size_t i = 0; i < comparisons.size(); ++i) {
    SCOPED_TRACE(i);
    std::vector<Entry> entries = RandomEntries(random, 333, 1000);
    std::vector<Entry> before = entries;
    MergeSort(entries, comparisons[i]);
    std::sort(entries.begin(), entries.end());
    std::sort(before.begin(), before.end());
    EXPECT_EQ(entries, before);
  }
}

TEST(MergeSort, ComparisonAnsweringZeroLeavesTheOrderAlone) {
  std::mt19937 random(3);
  std::vector<Entry> entries = RandomEntries(random, 99, 10);
  const std::vector<Entry> before = entries;
  MergeSort(entries, [](const Entry&, const Entry&) { return 0; });
  EXPECT_EQ(entries, before);
}

}  // namespace
}  // namespace pictavo
