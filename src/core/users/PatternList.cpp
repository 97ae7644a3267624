#include "core/users/PatternList.h"

#include <algorithm>
#include <array>
#include <bit>

#include "core/model/StringListModel.h"
#include "core/text/Ascii.h"
#include "core/users/Pattern.h"

namespace varnek {
namespace {

constexpr std::size_t kInitialSlots = 16;

constexpr std::array<unsigned char, 256> kFolded = [] {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c < 256; ++c) {
    table[static_cast<std::size_t>(c)] = static_cast<unsigned char>(AsciiLower(static_cast<char>(c)));
  }
  return table;
}();

unsigned char Folded(char c) {
  return kFolded[static_cast<unsigned char>(c)];
}

// Up to eight bytes, ASCII letters folded, as one word: a piece compares in
// one instruction and two pieces of one length are equal exactly when their
// words are.
std::uint64_t Pack(std::string_view piece) {
  std::uint64_t packed = 0;
  for (char c : piece) {
    packed = (packed << 8) | Folded(c);
  }
  return packed;
}

std::uint64_t LowBytesMask(std::size_t length) {
  return length >= 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * length)) - 1;
}

// Fibonacci hashing: the multiplication spreads every byte of a piece into
// the top bits, which pick the bucket.
constexpr std::uint64_t kSpread = 0x9E3779B97F4A7C15ULL;

int ShiftFor(std::size_t bucketCount) {  // a power of two
  return 64 - std::countr_zero(bucketCount);
}

// The longest run of bytes between "*"s; the first of equal length.
std::string_view LongestLiteral(std::string_view pattern) {
  std::string_view longest;
  std::size_t start = 0;
  while (start < pattern.size()) {
    const std::size_t star = std::min(pattern.find('*', start), pattern.size());
    if (star - start > longest.size()) {
      longest = pattern.substr(start, star - start);
    }
    start = star + 1;
  }
  return longest;
}

}  // namespace

void CompiledPatterns::Compile(const std::vector<std::string>& patterns) {
  escaped_.clear();
  nextInPiece_.clear();
  withoutLiteral_.clear();
  startTables_.clear();
  anywhereTables_.clear();
  firstInvalid_ = kNone;
  invalidPattern_.clear();
  std::string buffer;
  for (const std::string& pattern : patterns) {
    if (CountStarRuns(pattern) > kMaxPatternStarRuns) {
      // The plain scan throws when it reaches this pattern, so no later one
      // can ever be the answer: they are not compiled.
      firstInvalid_ = escaped_.size();
      invalidPattern_ = pattern;
      break;
    }
    const auto index = static_cast<std::uint32_t>(escaped_.size());
    escaped_.emplace_back(EscapeMaskCharsInto(pattern, buffer));
    nextInPiece_.push_back(kNone);
    const std::string_view escaped = escaped_.back();
    if (!escaped.empty() && escaped.front() != '*') {
      // Without a leading "*" the value must begin with the first run.
      const std::string_view head = escaped.substr(0, escaped.find('*'));
      File(index, head.substr(0, kMaxPiece), true);
      continue;
    }
    const std::string_view literal = LongestLiteral(escaped);
    if (literal.empty()) {
      withoutLiteral_.push_back(index);  // the empty pattern too: it matches the empty value
      continue;
    }
    // The end of the run: in lists that number their patterns ("*spam1*",
    // "*spam2*", ...) that is where they differ. Pieces found anywhere are
    // 1, 2, 4 or 8 bytes long, as every length costs a lookup per byte of
    // every value.
    const std::size_t length = std::bit_floor(std::min(literal.size(), kMaxPiece));
    File(index, literal.substr(literal.size() - length), false);
  }
}

CompiledPatterns::PieceTable& CompiledPatterns::TableFor(std::size_t length, bool atStart) {
  std::vector<PieceTable>& tables = atStart ? startTables_ : anywhereTables_;
  for (PieceTable& table : tables) {
    if (table.length == length) {
      return table;
    }
  }
  PieceTable& table = tables.emplace_back();
  table.length = length;
  table.mask = LowBytesMask(length);
  table.atStart = atStart;
  table.buckets.resize(kInitialSlots);
  table.shift = ShiftFor(kInitialSlots);
  return table;
}

void CompiledPatterns::File(std::uint32_t pattern, std::string_view piece, bool atStart) {
  Insert(TableFor(piece.size(), atStart), Pack(piece), pattern, nextInPiece_);
}

void CompiledPatterns::Insert(PieceTable& table, std::uint64_t piece, std::uint32_t pattern,
                              std::vector<std::uint32_t>& chain) {
  if ((table.used + 1) * 4 > table.buckets.size()) {
    std::vector<PieceTable::Slot> old(table.buckets.size() * 2);
    old.swap(table.buckets);
    table.shift = ShiftFor(table.buckets.size());
    for (const PieceTable::Slot& slot : old) {
      if (slot.firstPattern != kNone) {
        std::size_t at = (slot.piece * kSpread) >> table.shift;
        while (table.buckets[at].firstPattern != kNone) {
          at = (at + 1) & (table.buckets.size() - 1);
        }
        table.buckets[at] = slot;
      }
    }
  }
  std::size_t at = (piece * kSpread) >> table.shift;
  while (table.buckets[at].firstPattern != kNone && table.buckets[at].piece != piece) {
    at = (at + 1) & (table.buckets.size() - 1);
  }
  PieceTable::Slot& slot = table.buckets[at];
  if (slot.firstPattern == kNone) {
    slot.piece = piece;
    ++table.used;
  }
  chain[pattern] = slot.firstPattern;
  slot.firstPattern = pattern;
}

std::uint32_t CompiledPatterns::Lookup(const PieceTable& table, std::uint64_t piece) {
  const std::size_t mask = table.buckets.size() - 1;
  for (auto at = static_cast<std::size_t>((piece * kSpread) >> table.shift);; at = (at + 1) & mask) {
    const PieceTable::Slot& slot = table.buckets[at];
    if (slot.firstPattern == kNone || slot.piece == piece) {
      return slot.firstPattern;
    }
  }
}

void CompiledPatterns::AddChainOf(std::uint32_t first) {
  for (std::uint32_t pattern = first; pattern != kNone; pattern = nextInPiece_[pattern]) {
    candidates_.push_back(pattern);
  }
}

// The digit of a mask character's escape code ("$0|" to "$4|"), 0 for the
// bytes that stand for themselves.
constexpr std::array<char, 256> kMaskDigit = [] {
  std::array<char, 256> table{};
  const std::string_view maskChars = "[]?%-";
  for (std::size_t i = 0; i < maskChars.size(); ++i) {
    table[static_cast<unsigned char>(maskChars[i])] = static_cast<char>('0' + i);
  }
  return table;
}();

// Hands `take` the bytes of the value as they read once escaped, without
// writing the escaped text; `take` returns false to stop early.
template <typename Take>
void ForEachEscapedByte(std::string_view value, Take take) {
  for (char c : value) {
    const char digit = kMaskDigit[static_cast<unsigned char>(c)];
    if (digit == 0 ? !take(c) : (!take('$') || !take(digit) || !take('|'))) {
      return;
    }
  }
}

// Most values match no pattern, so the value is read as it would be
// escaped, and only a value that names candidates is escaped for the
// matcher. A word holds the last eight escaped bytes: the pieces that must
// begin the value look up its first bytes, the others every position.
void CompiledPatterns::CollectCandidates(std::string_view value) {
  candidates_.assign(withoutLiteral_.begin(), withoutLiteral_.end());
  std::uint64_t window = 0;
  std::size_t length = 0;  // of the escaped value read so far
  if (!startTables_.empty()) {
    ForEachEscapedByte(value, [&](char c) {
      window = (window << 8) | Folded(c);
      ++length;
      for (const PieceTable& table : startTables_) {
        if (length == table.length) {
          AddChain(Lookup(table, window));
        }
      }
      return length < kMaxPiece;
    });
  }
  if (anywhereTables_.empty()) {
    return;
  }
  window = 0;
  length = 0;
  ForEachEscapedByte(value, [&](char c) {
    window = (window << 8) | Folded(c);
    ++length;
    for (const PieceTable& table : anywhereTables_) {
      if (length >= table.length) {
        AddChain(Lookup(table, window & table.mask));
      }
    }
    return true;
  });
}

int CompiledPatterns::FirstMatch(std::string_view value) {
  if (escaped_.empty() && firstInvalid_ == kNone) {  // nothing to match, nothing to refuse
    return -1;
  }
  CollectCandidates(value);
  if (!candidates_.empty()) {
    const std::string_view escapedValue = EscapeMaskCharsInto(value, valueBuffer_);
    if (candidates_.size() > 1) {
      // List order decides between several that match; a piece that occurs
      // twice in the value names its patterns twice.
      std::sort(candidates_.begin(), candidates_.end());
      candidates_.erase(std::unique(candidates_.begin(), candidates_.end()), candidates_.end());
    }
    for (std::uint32_t candidate : candidates_) {
      if (MatchesEscapedPattern(escapedValue, escaped_[candidate])) {
        return static_cast<int>(candidate);
      }
    }
  }
  if (firstInvalid_ != kNone) {
    ThrowInvalidPattern(invalidPattern_);
  }
  return -1;
}

int PatternList::FirstMatch(std::string_view value) {
  if (!compiled_ || list_.Revision() != compiledRevision_) {
    patterns_.Compile(list_.Rows());
    compiledRevision_ = list_.Revision();
    compiled_ = true;
  }
  return patterns_.FirstMatch(value);
}

void PatternList::CountHit(int row) {
  ++hits_[list_.At(row)];
  ++hitsCounted_;
}

std::uint32_t PatternList::HitsOf(std::string_view pattern) const {
  const auto found = hits_.find(pattern);
  return found == hits_.end() ? 0 : found->second;
}

}  // namespace varnek
