// How the holding report is read and searched: its report date, and the first
// balance line holding a BOID and ISIN, found for many rows in one scan.
#include "work/checks/holding_file.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "ground/errors.h"
#include "ground/fast_paths.h"
#include "ground/text.h"

namespace quorvin {
namespace {

bool ContainsBoth(std::string_view line, std::string_view boid, std::string_view isin) {
  return line.find(boid) != std::string_view::npos && line.find(isin) != std::string_view::npos;
}

// The longest part of a text between spaces (the first of equal ones); empty
// for a text of spaces only.
std::string_view LongestPiece(std::string_view text) {
  std::string_view best;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = std::min(text.find(' ', start), text.size());
    if (end - start > best.size()) best = text.substr(start, end - start);
    start = end + 1;
  }
  return best;
}

std::uint64_t Load64(const char* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// Equal texts; the same characters are, without a look at them.
bool SameView(std::string_view a, std::string_view b) {
  return a.size() == b.size() && (a.data() == b.data() || a == b);
}

// Small ids in an open-addressed table, kept at most half full. What an id
// stands for is the caller's business: it says whether a candidate id is the
// one looked for, and gives the hash of an id when the table grows.
class IdTable {
 public:
  explicit IdTable(size_t count = 0) { Resize(count); }

  // The id filed as the same, or newId, filed now.
  template <typename Same, typename HashOf>
  int FindOrAdd(std::uint64_t hash, int newId, Same same, HashOf hashOf) {
    if (2 * (count_ + 1) > slots_.size()) {
      std::vector<Slot> old = std::move(slots_);
      Resize(2 * count_ + 2);
      for (const Slot& slot : old)
        if (slot.id >= 0) Place(hashOf(slot.id), slot.id);
    }
    const auto tag = static_cast<std::uint32_t>(hash >> 32);
    for (size_t i = hash & mask_;; i = (i + 1) & mask_) {
      Slot& slot = slots_[i];
      if (slot.id < 0) {
        slot = {tag, newId};
        ++count_;
        return newId;
      }
      if (slot.tag == tag && same(slot.id)) return slot.id;
    }
  }

 private:
  struct Slot {
    std::uint32_t tag;
    int id;
  };

  void Resize(size_t count) {
    size_t capacity = 16;
    while (capacity < 2 * count) capacity *= 2;
    slots_.assign(capacity, Slot{0, -1});
    mask_ = capacity - 1;
  }

  void Place(std::uint64_t hash, int id) {
    size_t i = hash & mask_;
    while (slots_[i].id >= 0) i = (i + 1) & mask_;
    slots_[i] = {static_cast<std::uint32_t>(hash >> 32), id};
  }

  std::vector<Slot> slots_;
  size_t mask_ = 0;
  size_t count_ = 0;
};

// The pieces as the scan looks them up. A slot holds a piece's length and
// its first and last eight characters, which for a piece of up to sixteen
// characters are all of it: such a look-up reads its slot and nothing else.
class PieceTable {
 public:
  void Reset(size_t count) {
    size_t capacity = 16;
    while (capacity < 2 * count) capacity *= 2;
    slots_.clear();
    slots_.reserve(capacity);
    AdviseLargePages(slots_.data(), capacity * sizeof(Slot));
    slots_.resize(capacity);
    mask_ = capacity - 1;
  }

  // Asks for the place where a look-up of hash starts.
  void Prefetch(std::uint64_t hash) const { FetchAhead(&slots_[hash & mask_]); }

  // Files a piece known to differ from every piece filed.
  void Add(std::uint64_t hash, std::string_view piece, int id) {
    const Key key = KeyOf(piece.data(), piece.size());
    size_t i = hash & mask_;
    while (slots_[i].piece >= 0) i = (i + 1) & mask_;
    slots_[i] = {key.head, key.tail, static_cast<std::uint32_t>(hash >> 32),
                 static_cast<std::uint32_t>(piece.size()), id};
  }

  // The piece the window's characters are, or -1.
  int Find(std::uint64_t hash, const char* window, size_t length,
           const std::vector<std::string_view>& pieces) const {
    const Key key = KeyOf(window, length);
    const auto tag = static_cast<std::uint32_t>(hash >> 32);
    for (size_t i = hash & mask_;; i = (i + 1) & mask_) {
      const Slot& slot = slots_[i];
      if (slot.piece < 0) return -1;
      if (slot.tag == tag && slot.length == length && slot.head == key.head &&
          slot.tail == key.tail &&
          (length <= 16 || std::memcmp(pieces[slot.piece].data(), window, length) == 0))
        return slot.piece;
    }
  }

 private:
  struct Key {
    std::uint64_t head, tail;
  };
  // The first and the last eight characters; fewer than eight, padded with zeros.
  static Key KeyOf(const char* p, size_t n) {
    if (n >= 8) return {Load64(p), Load64(p + n - 8)};
    std::uint64_t head = 0;
    std::memcpy(&head, p, n);
    return {head, 0};
  }

  struct Slot {
    std::uint64_t head = 0, tail = 0;
    std::uint32_t tag = 0, length = 0;
    int piece = -1;
  };
  std::vector<Slot> slots_;
  size_t mask_ = 0;
};

// Lists of ids, one per owner, laid end to end: counted first, then filled.
// An owner's list can shrink from the end as its ids are dealt with.
class IdLists {
 public:
  void Count(size_t owners, const std::vector<int>& ownerOfItem) {
    start_.assign(owners + 1, 0);
    for (int owner : ownerOfItem) ++start_[owner + 1];
    for (size_t o = 0; o < owners; ++o) start_[o + 1] += start_[o];
    size_.assign(owners, 0);
    items_.resize(ownerOfItem.size());
  }
  void Add(int owner, int id) { items_[start_[owner] + size_[owner]++] = id; }
  int* Begin(int owner) { return items_.data() + start_[owner]; }
  const int* Begin(int owner) const { return items_.data() + start_[owner]; }
  std::uint32_t& Size(int owner) { return size_[owner]; }
  std::uint32_t Size(int owner) const { return size_[owner]; }

 private:
  std::vector<std::uint32_t> start_, size_;
  std::vector<int> items_;
};

// Finds, for many (BOID, ISIN) pairs at once, the first balance line that
// contains both. Every searched text is filed under a space-free piece of it
// (the whole text when it has no space): a text can only occur in a line where
// its piece occurs inside one space-free segment. So each segment is looked up
// window by window for the few piece lengths there are, and only texts whose
// piece turned up are tried on the line. Texts of spaces only (and the empty
// text) are tried on every line. The texts are views of the caller's, which
// must outlive the scan.
class PairScan {
 public:
  // Grids come sorted by BOID: a BOID like the one before is the same text,
  // and pairs given one after the other that are equal share their entry.
  // Any other BOID is a text of its own: two equal ones apart cost time but
  // change nothing found, pieces being known by their characters. The few
  // ISINs recur all over and are looked up in a table. A pair given twice
  // elsewhere is simply looked for twice.
  explicit PairScan(const std::vector<std::pair<std::string_view, std::string_view>>& pairs) {
    texts_.reserve(2 * pairs.size());
    pairs_.reserve(pairs.size());
    pairOf_.reserve(pairs.size());
    std::string_view lastBoid, lastIsin;
    for (const auto& [boid, isin] : pairs) {
      const bool sameBoid = !pairs_.empty() && SameView(boid, lastBoid);
      if (!sameBoid || !SameView(isin, lastIsin)) {
        const int b = sameBoid ? pairs_.back().boid : NewText(boid);
        pairs_.push_back({b, IsinText(isin)});
        lastBoid = boid;
        lastIsin = isin;
      }
      pairOf_.push_back(static_cast<int>(pairs_.size()) - 1);
    }
    FilePieces();
    FileOpenPairs();
  }

  // Lines are read in order. The windows worth looking up are gathered a few
  // lines ahead of the line being settled, and their places in the piece
  // table asked for then, so that the look-ups do not wait on memory in turn.
  void Run(const std::vector<std::string_view>& lines) {
    pieceSeen_.assign(pieces_.size(), -1);
    textSeen_.assign(texts_.size(), -1);
    const int end = static_cast<int>(lines.size());
    auto gather = [&](int l) {
      std::vector<Candidate>& ahead = candidates_[l % kGathered];
      ahead.clear();
      if (l < end && !pieces_.empty()) GatherLine(lines[l], ahead);
    };
    for (int l = kFirstBalanceLine; l < kFirstBalanceLine + kLinesAhead; ++l) gather(l);
    size_t open = pairs_.size();
    for (int l = kFirstBalanceLine; l < end && open > 0; ++l) {
      gather(l + kLinesAhead);
      std::string_view line = lines[l];
      found_.clear();
      for (const Candidate& c : candidates_[l % kGathered]) {
        const int piece = lookup_.Find(c.hash, c.window, c.length, pieces_);
        if (piece >= 0) PieceFound(piece, line, l);
      }
      for (int t : everyLine_)
        if (line.find(texts_[t]) != std::string_view::npos) TextFound(t, l);
      if (!found_.empty()) open -= Resolve(l);
    }
  }

  // The first line of the k-th pair given, or -1.
  int LineOf(size_t k) const { return pairs_[pairOf_[k]].line; }

 private:
  struct Pair {
    int boid, isin, line = -1;
  };
  int NewText(std::string_view text) {
    texts_.push_back(text);
    return static_cast<int>(texts_.size()) - 1;
  }

  int IsinText(std::string_view text) {
    const int next = static_cast<int>(texts_.size());
    const int id = isinIds_.FindOrAdd(
        Hash(text), next, [&](int t) { return texts_[t] == text; },
        [&](int t) { return Hash(texts_[t]); });
    return id == next ? NewText(text) : id;
  }

  static std::uint64_t Hash(std::string_view text) {
    return HashShortText(text.data(), text.size());
  }

  void FilePieces() {
    lookup_.Reset(texts_.size());       // room for a piece of every text
    std::vector<std::uint64_t> hashes;  // of each piece
    std::vector<int> pieceOfNeedle;     // in text order, for texts with a piece
    std::vector<int> needleText;
    std::vector<bool> lengthSeen;
    for (int t = 0; t < static_cast<int>(texts_.size()); ++t) {
      std::string_view piece = LongestPiece(texts_[t]);
      if (piece.empty()) {
        everyLine_.push_back(t);
        continue;
      }
      const std::uint64_t h = Hash(piece);
      int p = lookup_.Find(h, piece.data(), piece.size(), pieces_);
      if (p < 0) {
        p = static_cast<int>(pieces_.size());
        lookup_.Add(h, piece, p);
        pieces_.push_back(piece);
        hashes.push_back(h);
        if (lengthSeen.size() <= piece.size()) lengthSeen.resize(piece.size() + 1);
        if (!lengthSeen[piece.size()]) {
          lengthSeen[piece.size()] = true;
          lengths_.push_back(piece.size());
        }
      }
      pieceOfNeedle.push_back(p);
      needleText.push_back(t << 1 | (piece.size() == texts_[t].size()));
    }
    needles_.Count(pieces_.size(), pieceOfNeedle);
    for (size_t k = 0; k < needleText.size(); ++k) needles_.Add(pieceOfNeedle[k], needleText[k]);

    std::sort(lengths_.begin(), lengths_.end());
    minLength_ = lengths_.empty() ? 0 : lengths_.front();

    // A bit per hash value in a small map that turns most windows away
    // before the table is touched.
    size_t bits = 64;
    maybeShift_ = 58;
    while (bits < 8 * pieces_.size()) {
      bits *= 2;
      --maybeShift_;
    }
    maybe_.assign(bits / 64, 0);
    for (std::uint64_t h : hashes) {
      std::uint64_t bit = h >> maybeShift_;
      maybe_[bit >> 6] |= std::uint64_t{1} << (bit & 63);
    }

    // For each length, the first two characters its pieces start with: most
    // windows are turned away by these before they are hashed.
    starts_.assign(lengths_.size() * kStartWords, 0);
    for (std::string_view piece : pieces_) {
      size_t k =
          std::lower_bound(lengths_.begin(), lengths_.end(), piece.size()) - lengths_.begin();
      unsigned key = StartKey(piece.data(), piece.size());
      starts_[k * kStartWords + key / 64] |= std::uint64_t{1} << (key % 64);
    }
  }

  static constexpr size_t kStartWords = 65536 / 64;
  static unsigned StartKey(const char* p, size_t length) {
    return static_cast<unsigned>(static_cast<unsigned char>(p[0])) << 8 |
           (length > 1 ? static_cast<unsigned char>(p[1]) : 0u);
  }

  void FileOpenPairs() {
    std::vector<int> boids, isins;
    boids.reserve(pairs_.size());
    isins.reserve(pairs_.size());
    for (const Pair& pair : pairs_) {
      boids.push_back(pair.boid);
      isins.push_back(pair.isin);
    }
    byBoid_.Count(texts_.size(), boids);
    byIsin_.Count(texts_.size(), isins);
    for (int p = 0; p < static_cast<int>(pairs_.size()); ++p) {
      byBoid_.Add(pairs_[p].boid, p);
      byIsin_.Add(pairs_[p].isin, p);
    }
  }

  // A window of a line that may be a piece.
  struct Candidate {
    const char* window;
    size_t length;
    std::uint64_t hash;
  };
  static constexpr int kLinesAhead = 4, kGathered = kLinesAhead + 1;

  void GatherLine(std::string_view line, std::vector<Candidate>& out) const {
#if defined(QUORVIN_WIDE_BITS)
    if (line.size() <= 128) {
      GatherShortLine(line, out);
      return;
    }
#endif
    const char* p = line.data();
    const size_t n = line.size();
    for (size_t i = NextNonSpace(p, 0, n); i < n;) {
      const size_t end = NextSpace(p, i, n);
      if (end - i >= minLength_) GatherSegment(p + i, end - i, out);
      i = NextNonSpace(p, end, n);
    }
  }

  void GatherSegment(const char* segment, size_t size, std::vector<Candidate>& out) const {
    for (size_t n = 0; n < lengths_.size(); ++n) {
      const size_t length = lengths_[n];
      if (length > size) break;
      for (size_t k = 0; k + length <= size; ++k) Consider(segment + k, length, n, out);
    }
  }

#if defined(QUORVIN_WIDE_BITS)
  // The windows of a line of up to 128 characters from its bits: bit k of
  // the runs of L is set when characters k .. k + L - 1 are none of them a
  // space, built up from runs of 1, 2, 4, ... characters.
  void GatherShortLine(std::string_view line, std::vector<Candidate>& out) const {
    using Bits = WideBits;
    Bits runs = NonSpaceBits(line.data(), line.size());  // of `covered` characters
    size_t covered = 1;
    for (size_t n = 0; n < lengths_.size(); ++n) {
      const size_t length = lengths_[n];
      if (length > line.size()) break;
      for (; 2 * covered <= length; covered *= 2) runs &= runs >> covered;
      const Bits found = runs & (runs >> (length - covered));
      for (int half = 0; half < 2; ++half)
        for (auto word = static_cast<std::uint64_t>(found >> (64 * half)); word; word &= word - 1)
          Consider(line.data() + 64 * half + std::countr_zero(word), length, n, out);
    }
  }
#endif

  // Keeps a window of the n-th length when its first two characters and its
  // hash could be those of a piece.
  void Consider(const char* window, size_t length, size_t n, std::vector<Candidate>& out) const {
    const unsigned key = StartKey(window, length);
    if (!((starts_[n * kStartWords + key / 64] >> (key % 64)) & 1)) return;
    const std::uint64_t h = HashShortText(window, length);
    const std::uint64_t bit = h >> maybeShift_;
    if (!((maybe_[bit >> 6] >> (bit & 63)) & 1)) return;
    lookup_.Prefetch(h);
    out.push_back({window, length, h});
  }

  void PieceFound(int piece, std::string_view line, int l) {
    if (pieceSeen_[piece] == l) return;
    pieceSeen_[piece] = l;
    const int* needle = needles_.Begin(piece);
    for (std::uint32_t k = 0, n = needles_.Size(piece); k < n; ++k) {
      const int t = needle[k] >> 1;
      const bool whole = needle[k] & 1;  // the text is its piece
      if (whole || line.find(texts_[t]) != std::string_view::npos) TextFound(t, l);
    }
  }

  void TextFound(int t, int l) {
    if (textSeen_[t] == l) return;
    textSeen_[t] = l;
    found_.push_back(t);
  }

  // Settles the open pairs of both texts found in line l, walking the side
  // with the shorter lists. Returns how many were settled.
  size_t Resolve(int l) {
    size_t viaBoid = 0, viaIsin = 0;
    for (int t : found_) {
      viaBoid += byBoid_.Size(t);
      viaIsin += byIsin_.Size(t);
    }
    const bool boidSide = viaBoid <= viaIsin;
    IdLists& lists = boidSide ? byBoid_ : byIsin_;
    size_t settled = 0;
    for (int t : found_) {
      int* open = lists.Begin(t);
      std::uint32_t& count = lists.Size(t);
      for (std::uint32_t k = 0; k < count;) {
        Pair& pair = pairs_[open[k]];
        const int other = boidSide ? pair.isin : pair.boid;
        if (pair.line < 0 && textSeen_[other] == l) {
          pair.line = l;
          ++settled;
        }
        if (pair.line >= 0) {  // settled now or through the other side's list
          open[k] = open[--count];
        } else {
          ++k;
        }
      }
    }
    return settled;
  }

  std::vector<std::string_view> texts_;
  IdTable isinIds_;  // the ISINs' texts
  std::vector<Pair> pairs_;
  std::vector<int> pairOf_;  // the entry of each pair given

  std::vector<std::string_view> pieces_;
  PieceTable lookup_;
  std::vector<std::uint64_t> maybe_;
  int maybeShift_ = 58;
  std::vector<size_t> lengths_;        // of the pieces, ascending
  std::vector<std::uint64_t> starts_;  // a bit map of first characters for each length
  size_t minLength_ = 0;
  // Texts filed under each piece, times two, plus one for a text that is its piece.
  IdLists needles_;
  std::vector<int> everyLine_;  // texts without a piece
  IdLists byBoid_, byIsin_;     // open pairs of each text

  std::vector<int> pieceSeen_, textSeen_, found_;
  std::vector<Candidate> candidates_[kGathered];  // of the lines being read, by line % kGathered
};

}  // namespace

HoldingFile::HoldingFile(std::string content) : content_(std::move(content)) {
  lines_ = SplitAll(content_, kCrLf);
}

std::string HoldingFile::ReportDate() const {
  std::string_view first = lines_.empty() ? std::string_view() : lines_[0];
  constexpr std::string_view kLead = "Report for ", kEnd = " :";
  size_t start = first.find(kLead);
  if (start == std::string_view::npos) throw AppError("The report date is missing.");
  start += kLead.size();
  size_t end = first.find(kEnd, start);
  if (end == std::string_view::npos) throw AppError("The report date is missing.");
  return std::string(first.substr(start, end - start));
}

std::vector<int> HoldingFile::FirstBalanceLines(
    const std::vector<std::pair<std::string_view, std::string_view>>& pairs) const {
  PairScan scan(pairs);
  scan.Run(lines_);
  std::vector<int> found;
  found.reserve(pairs.size());
  for (size_t k = 0; k < pairs.size(); ++k)
    found.push_back(pairs[k].first.empty() ? -1 : scan.LineOf(k));
  return found;
}

int HoldingFile::FirstBalanceLine(std::string_view boid, std::string_view isin) const {
  if (boid.empty()) return -1;
  for (size_t l = kFirstBalanceLine; l < lines_.size(); ++l)
    if (ContainsBoth(lines_[l], boid, isin)) return static_cast<int>(l);
  return -1;
}

std::string_view BalanceText(std::string_view line) {
  size_t space = line.rfind(' ');
  return space == std::string_view::npos ? line : line.substr(space + 1);
}

}  // namespace quorvin
