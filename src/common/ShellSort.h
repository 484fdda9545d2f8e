#pragma once
// The one sort every grid of the program uses: Shell's sort with the gap
// halved on each pass. Elements whose keys tie are never swapped, so where
// fully equal elements end up depends on where they were before; every list
// is sorted by this routine so that ties come out the same way everywhere.

#include <cstddef>
#include <utility>
#include <vector>

namespace ondaris {

// Sorts `items` in place. `mustComeAfter(earlier, later)` answers whether the
// element standing at the earlier position has to move behind the later one;
// only then are the two swapped.
template <class T, class MustComeAfter>
void ShellSort(T* items, std::size_t count, MustComeAfter&& mustComeAfter) {
  using Index = std::ptrdiff_t;
  const Index n = static_cast<Index>(count);
  for (Index gap = n / 2; gap >= 1; gap /= 2) {
    for (Index i = gap; i < n; ++i) {
      for (Index j = i - gap; j >= 0; j -= gap) {
        if (!mustComeAfter(items[j], items[j + gap])) break;
        std::swap(items[j], items[j + gap]);
      }
    }
  }
}

template <class T, class MustComeAfter>
void ShellSort(std::vector<T>& items, MustComeAfter&& mustComeAfter) {
  ShellSort(items.data(), items.size(), mustComeAfter);
}

}  // namespace ondaris
