#include "core/users/UserListIndex.h"

#include <functional>
#include <utility>

namespace varnek {

namespace {

constexpr std::size_t kInitialProbes = 64;

}  // namespace

std::uint32_t UserListIndex::HashOf(std::string_view key) {
  const std::size_t full = std::hash<std::string_view>{}(key);
  const auto hash = static_cast<std::uint32_t>(full ^ (full >> 32));
  return hash == 0 ? 1 : hash;
}

std::size_t UserListIndex::FindProbe(std::string_view key, std::uint32_t hash) const {
  if (probes_.empty()) {
    return kNotFound;
  }
  for (std::size_t probe = hash & Mask();; probe = (probe + 1) & Mask()) {
    if (probes_[probe].hash == 0) {
      return kNotFound;
    }
    if (probes_[probe].hash == hash && entries_[probes_[probe].entry].key == key) {
      return probe;
    }
  }
}

std::size_t UserListIndex::FreeProbe(std::uint32_t hash) const {
  std::size_t probe = hash & Mask();
  while (probes_[probe].hash != 0) {
    probe = (probe + 1) & Mask();
  }
  return probe;
}

// At most half of the slots in use keeps the probe for a text that is not
// there (every new nick) down to a slot or two.
void UserListIndex::GrowIfFull() {
  if ((entries_.size() + 1) * 2 <= probes_.size()) {
    return;
  }
  const std::size_t size = probes_.empty() ? kInitialProbes : probes_.size() * 2;
  const std::vector<Probe> old = std::exchange(probes_, std::vector<Probe>(size));
  for (const Probe& probe : old) {
    if (probe.hash != 0) {
      probes_[FreeProbe(probe.hash)] = probe;
    }
  }
}

// Backward-shift deletion: the probes after the hole that may live there move
// up, so lookups never need markers for deleted slots.
void UserListIndex::ShiftBack(std::size_t hole) {
  probes_[hole] = Probe{};
  for (std::size_t next = (hole + 1) & Mask(); probes_[next].hash != 0; next = (next + 1) & Mask()) {
    const std::size_t home = probes_[next].hash & Mask();
    const bool homeBetweenHoleAndNext = ((next - home) & Mask()) < ((next - hole) & Mask());
    if (homeBetweenHoleAndNext) {
      continue;
    }
    probes_[hole] = probes_[next];
    probes_[next] = Probe{};
    hole = next;
  }
}

// The last entry fills the gap so the entries stay dense; its probe is found
// by its hash and pointed at the new place.
void UserListIndex::Erase(std::size_t probe) {
  const std::uint32_t gap = probes_[probe].entry;
  ShiftBack(probe);
  const auto last = static_cast<std::uint32_t>(entries_.size() - 1);
  if (gap != last) {
    entries_[gap] = std::move(entries_[last]);
    std::size_t moved = entries_[gap].hash & Mask();
    while (probes_[moved].hash == 0 || probes_[moved].entry != last) {
      moved = (moved + 1) & Mask();
    }
    probes_[moved].entry = gap;
  }
  entries_.pop_back();
}

void UserListIndex::Add(std::string_view key, std::uint64_t order) {
  const std::uint32_t hash = HashOf(key);
  const std::size_t found = FindProbe(key, hash);
  if (found == kNotFound) {
    GrowIfFull();
    probes_[FreeProbe(hash)] = Probe{hash, static_cast<std::uint32_t>(entries_.size())};
    entries_.push_back(Entry{hash, std::string(key), order, nullptr});
    return;
  }
  Entry& entry = entries_[probes_[found].entry];
  if (!entry.others) {
    entry.others = std::make_unique<std::pmr::set<std::uint64_t>>(&pool_);
  }
  if (order < entry.first) {
    std::swap(order, entry.first);
  }
  entry.others->insert(entry.others->end(), order);  // new rows come last
}

void UserListIndex::Remove(std::string_view key, std::uint64_t order) {
  const std::size_t probe = FindProbe(key, HashOf(key));
  if (probe == kNotFound) {
    return;
  }
  Entry& entry = entries_[probes_[probe].entry];
  if (entry.first == order) {
    if (!entry.others) {
      Erase(probe);
      return;
    }
    entry.first = *entry.others->begin();
    entry.others->erase(entry.others->begin());
  } else if (!entry.others || entry.others->erase(order) == 0) {
    return;
  }
  if (entry.others->empty()) {
    entry.others.reset();
  }
}

std::optional<std::uint64_t> UserListIndex::First(std::string_view key) const {
  const std::size_t probe = FindProbe(key, HashOf(key));
  if (probe == kNotFound) {
    return std::nullopt;
  }
  return entries_[probes_[probe].entry].first;
}

void UserListIndex::Clear() {
  // Gives the memory back: a cleared list is a lost connection.
  std::vector<Probe>().swap(probes_);
  std::vector<Entry>().swap(entries_);
  pool_.release();  // every tree is gone with the entries
}

}  // namespace varnek
