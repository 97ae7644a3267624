#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace varnek {

class StringListModel;

// A list of patterns prepared once for matching many values, with exactly
// the answers of trying MatchesPattern on each pattern in list order.
//
// Every user's nick, IP, description, e-mail, tag and share is matched
// against a list that changes rarely, so instead of trying each pattern the
// value is read once: each pattern is filed under a short piece of text that
// any value it matches must hold (its start, when it does not begin with
// "*", else a piece of its longest literal run), and one pass over the value
// looks up each of its pieces. Only the patterns filed under a piece the
// value holds, and those without any literal, are then tried with the
// matcher itself.
class CompiledPatterns {
 public:
  CompiledPatterns() = default;
  explicit CompiledPatterns(const std::vector<std::string>& patterns) { Compile(patterns); }

  void Compile(const std::vector<std::string>& patterns);

  // The index of the first pattern the value matches, or -1. Like the plain
  // scan, reaching a pattern with too many runs of "*" before any match
  // throws AbandonedCommandError.
  int FirstMatch(std::string_view value);

 private:
  static constexpr std::uint32_t kNone = 0xFFFFFFFFU;
  static constexpr std::size_t kMaxPiece = 8;  // bytes, packed into one word

  // The patterns filed under pieces of one length, found either at the start
  // of the value only or anywhere in it. An open-addressing table of packed
  // pieces; the patterns of one piece are chained through nextInPiece_.
  struct PieceTable {
    struct Slot {
      std::uint64_t piece = 0;
      std::uint32_t firstPattern = kNone;
    };
    std::size_t length = 0;
    std::uint64_t mask = 0;  // the low `length` bytes of a word
    int shift = 0;           // takes a spread piece's top bits as its bucket
    bool atStart = false;
    std::vector<Slot> buckets;  // a power of two, at most a quarter in use
    std::size_t used = 0;
  };

  void File(std::uint32_t pattern, std::string_view piece, bool atStart);
  PieceTable& TableFor(std::size_t length, bool atStart);
  static void Insert(PieceTable& table, std::uint64_t piece, std::uint32_t pattern, std::vector<std::uint32_t>& chain);
  static std::uint32_t Lookup(const PieceTable& table, std::uint64_t piece);
  void CollectCandidates(std::string_view value);
  void AddChain(std::uint32_t first) {
    if (first != kNone) {  // the usual answer: no pattern has this piece
      AddChainOf(first);
    }
  }
  void AddChainOf(std::uint32_t first);

  std::vector<std::string> escaped_;
  std::vector<std::uint32_t> nextInPiece_;
  std::vector<std::uint32_t> withoutLiteral_;  // "*", "**" and the like
  std::vector<PieceTable> startTables_;
  std::vector<PieceTable> anywhereTables_;
  std::size_t firstInvalid_ = kNone;
  std::string invalidPattern_;  // for the error
  // Scratch of one match, kept for its capacity.
  std::vector<std::uint32_t> candidates_;
  std::string valueBuffer_;
};

// The compiled form of one pattern list of the settings, built again only
// when the list has changed since the last match.
class PatternList {
 public:
  explicit PatternList(const StringListModel& list) : list_(list) {}

  // The first row of the list that the value matches, or -1; see
  // CompiledPatterns::FirstMatch.
  int FirstMatch(std::string_view value);
  const StringListModel& Rows() const { return list_; }

  // Counts a user that the row's pattern matched. Counts are kept by the
  // pattern's text, so they stay with a pattern when rows above it come or go.
  void CountHit(int row);
  std::uint32_t HitsOf(std::string_view pattern) const;
  // Grows with every hit counted, so a view can tell that counts changed.
  std::uint64_t HitsCounted() const { return hitsCounted_; }

 private:
  const StringListModel& list_;
  std::map<std::string, std::uint32_t, std::less<>> hits_;
  std::uint64_t hitsCounted_ = 0;
  std::uint64_t compiledRevision_ = 0;
  bool compiled_ = false;
  CompiledPatterns patterns_;
};

}  // namespace varnek
