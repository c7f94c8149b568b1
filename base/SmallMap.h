#pragma once
// A map for the handful of entries a window or a program keeps (the controls of one form, its
// fonts and brushes, its timers and utility windows): the entries in a vector, found by
// looking at each. A std::map would bring the library's tree code into each static program,
// and code of its own for every kind of map, for lists this short.

#include <utility>
#include <vector>

namespace ombrix {

template <class Key, class Value>
class TSmallMap {
 public:
  // The value of `key`, or nullptr. Valid until the next Set or Erase.
  Value* Find(const Key& key) {
    for (auto& entry : entries_) {
      if (entry.first == key) return &entry.second;
    }
    return nullptr;
  }
  const Value* Find(const Key& key) const { return const_cast<TSmallMap*>(this)->Find(key); }
  // Gives `key` the value, adding the entry when there is none.
  Value& Set(const Key& key, Value value) {
    if (Value* found = Find(key)) {
      *found = std::move(value);
      return *found;
    }
    entries_.emplace_back(key, std::move(value));
    return entries_.back().second;
  }
  // Removes the entry of `key`, if any; the order of the others may change.
  void Erase(const Key& key) {
    for (auto& entry : entries_) {
      if (entry.first != key) continue;
      if (&entry != &entries_.back()) std::swap(entry, entries_.back());
      entries_.pop_back();
      return;
    }
  }
  bool Empty() const { return entries_.empty(); }
  const Key& AnyKey() const { return entries_.front().first; }

 private:
  std::vector<std::pair<Key, Value>> entries_;
};

}  // namespace ombrix
