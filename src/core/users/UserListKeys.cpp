// The user list's lookup tables: for the nick, the exact share and the IP,
// a hash table from a text to the first of the rows that hold it, and
// through the rows a ring of all of them in display order.

#include <cstring>
#include <utility>

#include "core/users/UserList.h"

namespace varnek {
namespace {

constexpr std::size_t kInitialBuckets = 64;

}  // namespace

std::string_view ShareAsSent(std::string_view exactShareCell) {
  return exactShareCell.substr(0, exactShareCell.find(' '));
}

// Nicks, shares and IPs are short: eight bytes at a time, each word mixed in
// by a multiplication, is a good spread for a fraction of a general hash.
// The last word is read so that it ends with the text (overlapping the one
// before it); only texts shorter than a word are read byte by byte.
std::uint32_t UserList::HashOf(std::string_view key) {
  const auto load = [&key](std::size_t at) {
    std::uint64_t word = 0;
    std::memcpy(&word, key.data() + at, 8);
    return word;
  };
  std::uint64_t hash = 0x9E3779B97F4A7C15ULL ^ key.size();
  std::uint64_t last = 0;
  if (key.size() >= 8) {
    for (std::size_t at = 0; at + 8 < key.size(); at += 8) {
      hash = (hash ^ load(at)) * 0xBF58476D1CE4E5B9ULL;
      hash ^= hash >> 31;
    }
    last = load(key.size() - 8);
  } else {
    for (std::size_t at = 0; at < key.size(); ++at) {
      last |= std::uint64_t{static_cast<unsigned char>(key[at])} << (8 * at);
    }
  }
  hash = (hash ^ last) * 0x94D049BB133111EBULL;
  hash ^= hash >> 32;
  const auto folded = static_cast<std::uint32_t>(hash);
  return folded == 0 ? 1 : folded;
}

UserColumn UserList::ColumnOf(Key key) {
  switch (key) {
    case kNickKey:
      return UserColumn::Username;
    case kShareKey:
      return UserColumn::ExactShareSize;
    case kIpKey:
    case kKeyCount:
      break;
  }
  return UserColumn::Ip;
}

std::string_view UserList::KeyText(Key key, std::string_view cell) {
  return key == kShareKey ? ShareAsSent(cell) : cell;
}

std::size_t UserList::FindBucket(Key key, std::string_view text, std::uint32_t hash) const {
  const std::vector<Bucket>& buckets = keys_[key].buckets;
  if (buckets.empty()) {
    return kNotFound;
  }
  const std::size_t mask = buckets.size() - 1;
  for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
    const Bucket& bucket = buckets[at];
    if (bucket.hash == 0) {
      return kNotFound;
    }
    // The text is read from the row only when the hashes agree.
    if (bucket.hash == hash && KeyOf(key, bucket.first) == text) {
      return at;
    }
  }
}

// Four fifths in use keeps the table small (a login of 50,000 users fits
// 65,536 buckets) while a probe for a text that is not there (every new
// nick) still reads only a few neighbouring buckets.
void UserList::GrowIfFull(KeyTable& table) {
  if ((table.used + 1) * 5 <= table.buckets.size() * 4) {
    return;
  }
  const std::size_t size = table.buckets.empty() ? kInitialBuckets : table.buckets.size() * 2;
  const std::vector<Bucket> old = std::exchange(table.buckets, std::vector<Bucket>(size));
  const std::size_t mask = size - 1;
  for (const Bucket& bucket : old) {
    if (bucket.hash != 0) {
      std::size_t at = bucket.hash & mask;
      while (table.buckets[at].hash != 0) {
        at = (at + 1) & mask;
      }
      table.buckets[at] = bucket;
    }
  }
}

// Backward-shift deletion: the buckets after the hole that may live there
// move up, so lookups never need markers for deleted buckets.
void UserList::EraseBucket(KeyTable& table, std::size_t hole) {
  std::vector<Bucket>& buckets = table.buckets;
  const std::size_t mask = buckets.size() - 1;
  buckets[hole] = Bucket{};
  for (std::size_t next = (hole + 1) & mask; buckets[next].hash != 0; next = (next + 1) & mask) {
    const std::size_t home = buckets[next].hash & mask;
    const bool homeBetweenHoleAndNext = ((next - home) & mask) < ((next - hole) & mask);
    if (homeBetweenHoleAndNext) {
      continue;
    }
    buckets[hole] = buckets[next];
    buckets[next] = Bucket{};
    hole = next;
  }
  --table.used;
}

void UserList::Chain(Key key, SlotId slot) {
  const std::string_view text = KeyOf(key, slot);
  const std::uint32_t hash = HashOf(text);
  const std::size_t found = FindBucket(key, text, hash);
  if (found != kNotFound) {
    InsertInOrder(key, keys_[key].buckets[found], slot);
    return;
  }
  KeyTable& table = keys_[key];
  GrowIfFull(table);
  const std::size_t mask = table.buckets.size() - 1;
  std::size_t at = hash & mask;
  while (table.buckets[at].hash != 0) {
    at = (at + 1) & mask;
  }
  table.buckets[at] = Bucket{hash, slot};
  ++table.used;
  LinkOf(key, slot) = Link{slot, slot};
}

// A new row of an unsorted list comes last, so the ring's last row is looked
// at first.
void UserList::InsertInOrder(Key key, Bucket& bucket, SlotId slot) {
  const SlotId first = bucket.first;
  const SlotId last = LinkOf(key, first).previous;
  SlotId before = slots_[last].order < slots_[slot].order ? last : RingPlace(key, first, slot);
  if (before == kNoSlot) {
    bucket.first = slot;  // the new first row goes between the last and the old first
    before = last;
  }
  const SlotId after = LinkOf(key, before).next;
  LinkOf(key, slot) = Link{before, after};
  LinkOf(key, before).next = slot;
  LinkOf(key, after).previous = slot;
}

// The row that a row which does not come last follows in its ring: the last
// of the ring's rows before it in display order, or none when it comes
// first. Three walks go in step and the first to arrive answers: back along
// the ring from its end, forward from its start, and back along the display
// rows. The last finds at once a text that most rows share (the empty IP of
// the users whose $UserIP has not come yet), where both ring walks are long;
// they in turn are short for a text few rows hold.
UserList::SlotId UserList::RingPlace(Key key, SlotId first, SlotId slot) const {
  const std::uint32_t order = slots_[slot].order;
  const std::string_view text = KeyOf(key, slot);
  SlotId back = LinkOf(key, first).previous;
  SlotId forward = first;
  auto row = static_cast<std::size_t>(RowOfOrder(order));
  for (;;) {
    if (slots_[back].order < order) {
      return back;
    }
    if (back == first) {
      return kNoSlot;
    }
    back = LinkOf(key, back).previous;

    if (slots_[forward].order > order) {
      return forward == first ? kNoSlot : LinkOf(key, forward).previous;
    }
    forward = LinkOf(key, forward).next;
    if (forward == first) {
      return LinkOf(key, first).previous;  // every row of the ring comes before it
    }

    if (row == 0) {
      return kNoSlot;
    }
    --row;
    if (KeyOf(key, rows_[row]) == text) {
      return rows_[row];
    }
  }
}

void UserList::Unchain(Key key, SlotId slot) {
  const std::string_view text = KeyOf(key, slot);
  const std::size_t found = FindBucket(key, text, HashOf(text));
  if (found == kNotFound) {
    return;
  }
  const Link link = LinkOf(key, slot);
  if (link.next == slot) {
    EraseBucket(keys_[key], found);
    return;
  }
  LinkOf(key, link.previous).next = link.next;
  LinkOf(key, link.next).previous = link.previous;
  Bucket& bucket = keys_[key].buckets[found];
  if (bucket.first == slot) {
    bucket.first = link.next;
  }
}

void UserList::ChainAll(SlotId slot) {
  for (Key key : {kNickKey, kShareKey, kIpKey}) {
    Chain(key, slot);
  }
}

void UserList::UnchainAll(SlotId slot) {
  for (Key key : {kNickKey, kShareKey, kIpKey}) {
    Unchain(key, slot);
  }
}

// Rows in display order each join the end of their rings.
void UserList::RebuildKeys() {
  for (KeyTable& table : keys_) {
    table = KeyTable{};
  }
  for (SlotId slot : rows_) {
    ChainAll(slot);
  }
}

int UserList::FirstRow(Key key, std::string_view text) const {
  const std::size_t found = FindBucket(key, text, HashOf(text));
  if (found == kNotFound) {
    return -1;
  }
  return RowOfOrder(slots_[keys_[key].buckets[found].first].order);
}

}  // namespace varnek
