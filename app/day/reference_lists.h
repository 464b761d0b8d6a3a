#pragma once
// The BO list and the ISIN list with their six lookups.
//
// The lookups answer exactly as a walk from the first record after the header
// to the first match would, duplicates included, but cheaply: exact
// lookups use an index built at load (first occurrence wins), and so do the
// case-blind "contains" lookups (every piece of every scrip ID and ISIN code
// filed under the first record it occurs in). The header record ("BO ID",
// "ISIN Code" …) is never an answer, and an empty text matches nothing: a
// blank cell must not borrow a name from the header or the first record.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "day/contains_index.h"
#include "day/first_match_index.h"
#include "ground/fast_paths.h"
#include "ground/ports.h"

namespace quorvin {

inline constexpr const char* kBONameNotFound = "BO NAME NOT FOUND";
// The header lines of the two list files.
inline constexpr const char* kBOListHeader = "S/N~BO ID~BO Name~Client Code";
inline constexpr const char* kISINListHeader = "S/N~ISIN Code~ISIN Name~Scrip ID~Scrip Code";
inline constexpr const char* kISINNameNotFound = "ISIN NAME NOT FOUND";

struct BORecord {
  std::string serial, boId, boName, clientCode;
  bool serialOnly = false;  // a line without "~"
};

struct ISINRecord {
  std::string serial, isinCode, isinName, scripId, scripCode;
  bool serialOnly = false;
};

class ReferenceLists {
 public:
  explicit ReferenceLists(Dialogs& dialogs) : dialogs_(&dialogs) {}
  // The indexes point into the records: a copy would point into the original.
  ReferenceLists(const ReferenceLists&) = delete;
  ReferenceLists& operator=(const ReferenceLists&) = delete;

  void LoadBOList(const std::string& path);
  void LoadISINList(const std::string& path);

  // Replace a list directly (tests, benchmarks).
  void SetBOList(std::vector<BORecord> records);
  void SetISINList(std::vector<ISINRecord> records);
  const std::vector<BORecord>& BOList() const { return bo_; }
  const std::vector<ISINRecord>& ISINList() const { return isin_; }

  // True when a walk may reach a record holding a serial number only; each
  // lookup that does shows a box, so its answer is not to be remembered.
  bool HasSerialOnlyRecords() const {
    return boFirstSerialOnly_ != kNoMatch || isinFirstSerialOnly_ != kNoMatch;
  }
  // Changes whenever either list does; no two lists' contents share one.
  std::uint64_t Generation() const { return generation_; }

  std::string FindClientCode(const std::string& boId) const;
  // These four answer with a text of the lists (or a constant), valid until
  // the next load.
  const std::string& FindBOIDByClientCode(const std::string& clientCode) const;
  const std::string& FindBOName(const std::string& boId) const;
  const std::string& FindISINByScripID(const std::string& scripIdPart) const;
  // FindBOIDByClientCode, and FindBOName of its answer, in one lookup.
  std::pair<const std::string&, const std::string&> FindBOIDAndName(
      const std::string& clientCode) const;
  // When a record matches and codeBox is given, it receives the full ISIN code.
  const std::string& FindISINName(const std::string& isinPart,
                                  std::string* codeBox = nullptr) const;
  std::string FindScripID(const std::string& isinPart, std::string* codeBox = nullptr) const;
  // Hints that FindBOIDAndName will soon be asked for a client code of this
  // HashText: the first call starts fetching where its record is found, a
  // second (with the code) where the answer is read.
  void PrefetchBOIDAndName(std::uint64_t hash) const { boByClientCode_.Prefetch(hash); }
  void PrefetchBOIDAndName(std::string_view clientCode) const {
    if (boFirstSerialOnly_ != kNoMatch) return;
    const int i = boByClientCode_.Find(clientCode);
    if (i == kNoMatch) return;
    FetchAhead(&bo_[i]);
    FetchAhead(&nameRecord_[i]);
  }

 private:
  static constexpr int kNoMatch = -1;
  static constexpr int kFirstRecord = 1;  // record 0 is the list's header
  // Index of the record a first-match walk stops at, or kNoMatch. A walk that
  // reaches a serial-only record first fails there: reported, then no match.
  int Resolve(int match, int firstSerialOnly) const;
  static std::uint64_t NextGeneration();
  void IndexBO();
  void IndexISIN();
  int FindByScrip(const std::string& part) const;
  int FindByIsinCode(const std::string& part) const;

  Dialogs* dialogs_;
  std::vector<BORecord> bo_;
  std::vector<ISINRecord> isin_;
  FirstMatchIndex boById_, boByClientCode_;    // serial-only records are left out
  std::vector<std::string> cleanClientCodes_;  // client codes without CR, as compared
  std::vector<int> nameRecord_;                // the record FindBOName(bo_[i].boId) finds
  std::vector<std::string> upperScrip_, upperIsin_;
  int boFirstSerialOnly_ = kNoMatch, isinFirstSerialOnly_ = kNoMatch;
  std::uint64_t generation_ = NextGeneration();
  ContainsIndex scripIndex_, isinIndex_;
};

// Writes a list file holding only `header` at `path` when its folder exists
// and the file does not; anything else is left for the load to report.
void ProvideListFile(const std::string& path, const char* header);

}  // namespace quorvin
