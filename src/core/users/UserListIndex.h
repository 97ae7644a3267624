#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <memory_resource>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace varnek {

// One lookup column of the user list: cell text -> the order keys of the rows
// that hold it, answering with the smallest key, which is the first of those
// rows in display order.
//
// A flat table instead of a node based map: with 50,000 users the node maps
// spent most of a login chasing pointers through memory that no cache holds.
// The texts live densely in the order they came; a small probe table of
// (hash, entry) pairs with linear probing finds them, so a probe reads packed
// pairs, an entry is read only when its hash matches, and growing the table
// moves the pairs but never the texts. Most texts belong to one row, so the
// smallest key sits in the entry and a tree of the others is made only for
// texts that several rows share (clones, the empty IP of rows that no $UserIP
// has reached yet). The trees' nodes come from a pool of the index: the empty
// IP alone can hold every row of a login, and one heap allocation per node
// made such a login half again as slow.
class UserListIndex {
 public:
  void Add(std::string_view key, std::uint64_t order);
  // Does nothing when the key does not hold that order.
  void Remove(std::string_view key, std::uint64_t order);
  std::optional<std::uint64_t> First(std::string_view key) const;
  void Clear();

 private:
  struct Probe {
    std::uint32_t hash = 0;  // 0 marks a free slot
    std::uint32_t entry = 0;
  };
  struct Entry {
    std::uint32_t hash;
    std::string key;
    std::uint64_t first;
    std::unique_ptr<std::pmr::set<std::uint64_t>> others;  // the keys after first
  };
  static constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

  static std::uint32_t HashOf(std::string_view key);
  std::size_t Mask() const { return probes_.size() - 1; }
  std::size_t FindProbe(std::string_view key, std::uint32_t hash) const;
  std::size_t FreeProbe(std::uint32_t hash) const;
  void GrowIfFull();
  void Erase(std::size_t probe);
  void ShiftBack(std::size_t hole);

  // Declared first so that it outlives the trees that allocate from it.
  std::pmr::unsynchronized_pool_resource pool_;
  std::vector<Probe> probes_;  // a power of two, at most half in use
  std::vector<Entry> entries_;
};

}  // namespace varnek
