// roomForOneMore: makes sure a list can take one more element without
// allocating, before a resource is acquired that the list must record.
//
// The page memory and the size-class pool record each mapping or chunk
// they take, so that it can be given back; reserving first means a failing
// push_back can never lose one. The room grows by doubling, so that the
// reserving stays cheap however many are recorded.
#pragma once

#include <cstddef>
#include <vector>

namespace vesk {

template <typename T>
void roomForOneMore(std::vector<T>& list) {
  if (list.size() < list.capacity()) return;
  constexpr std::size_t kFirstRoom = 16;
  list.reserve(list.empty() ? kFirstRoom : 2 * list.size());
}

}  // namespace vesk
