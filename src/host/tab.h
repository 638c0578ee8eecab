#pragma once

#include <vector>

#include "host/host_error.h"

namespace zal {

// The host's growable table; a bad index raises the host's error instead of reading astray.
template <typename T>
class Tab {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  void Append(const T& item) { items_.push_back(item); }
  T& operator[](int index) {
    if (index < 0 || index >= Count()) throw Error(kTabIndexError);
    return items_[static_cast<size_t>(index)];
  }
  const T& operator[](int index) const {
    if (index < 0 || index >= Count()) throw Error(kTabIndexError);
    return items_[static_cast<size_t>(index)];
  }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::vector<T> items_;
};

}  // namespace zal
