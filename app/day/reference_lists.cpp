// Loading the BO and ISIN list files, indexing them, and answering the
// client code, BO name, scrip and ISIN lookups.
#include "day/reference_lists.h"

#include <atomic>
#include <filesystem>

#include "ground/errors.h"
#include "ground/platform.h"
#include "ground/text.h"
#include "ground/text_files.h"

namespace quorvin {
namespace {

void ShowLoadFailure(Dialogs& dialogs, const std::string& title, const std::string& path,
                     const std::string& description) {
  dialogs.Message("Tried to read file: " + path + "\r\nError Description: " + description, title,
                  MsgIcon::Critical, MsgButtons::Ok);
}

std::string LineFailure(size_t line, const std::string& what) {
  return "Line " + std::to_string(line + 1) + " " + what;
}

// Reads a list file into records: every line one record, a line without "~"
// a record with the serial only. `fill` takes the other fields of a line that
// has at least `fieldCount`. On a bad line `failure` says why and the records
// before it are returned. Throws AppError when the file cannot be read.
template <typename Record, typename Fill>
std::vector<Record> ReadRecords(const std::string& path, size_t fieldCount, const char* kind,
                                Fill fill, std::string& failure) {
  std::string text = ReadTextFile(path);
  std::vector<Record> records;
  auto lines = SplitAll(text, kCrLf);
  records.reserve(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    auto fields = SplitAll(lines[i], "~");
    if (fields.empty()) {
      failure = LineFailure(i, "is empty");
      break;
    }
    Record rec;
    rec.serial = std::string(fields[0]);
    if (fields.size() == 1) {
      rec.serialOnly = true;
    } else if (fields.size() < fieldCount) {
      failure = LineFailure(
          i, "has fewer than the " + std::to_string(fieldCount) + " fields of " + kind + " record");
      break;
    } else {
      fill(rec, fields);
    }
    records.push_back(std::move(rec));
  }
  return records;
}

}  // namespace

void ReferenceLists::LoadBOList(const std::string& path) {
  const char* title = "Error loading list of BOs.";
  std::string failure;
  std::vector<BORecord> records;
  try {
    records = ReadRecords<BORecord>(
        path, 4, "a BO",
        [](BORecord& r, const auto& f) {
          r.boId = f[1];
          r.boName = f[2];
          r.clientCode = f[3];
        },
        failure);
  } catch (const AppError& e) {
    ShowLoadFailure(*dialogs_, title, path, e.Description());  // the old list stays
    return;
  }
  // A lone CR at the very end of the file is no part of the last client code.
  if (failure.empty() && !records.empty()) {
    if (records.back().serialOnly)
      failure = LineFailure(records.size() - 1, "holds no client code");
    else
      records.back().clientCode = RemoveAll(records.back().clientCode, "\r");
  }
  SetBOList(std::move(records));
  if (!failure.empty()) ShowLoadFailure(*dialogs_, title, path, failure);
}

void ReferenceLists::LoadISINList(const std::string& path) {
  const char* title = "Error loading list of ISINs.";
  std::string failure;
  std::vector<ISINRecord> records;
  try {
    records = ReadRecords<ISINRecord>(
        path, 5, "an ISIN",
        [](ISINRecord& r, const auto& f) {
          r.isinCode = f[1];
          r.isinName = f[2];
          r.scripId = f[3];
          r.scripCode = f[4];
        },
        failure);
  } catch (const AppError& e) {
    ShowLoadFailure(*dialogs_, title, path, e.Description());
    return;
  }
  SetISINList(std::move(records));
  if (!failure.empty()) ShowLoadFailure(*dialogs_, title, path, failure);
}

void ReferenceLists::SetBOList(std::vector<BORecord> records) {
  bo_ = std::move(records);
  IndexBO();
}

void ReferenceLists::SetISINList(std::vector<ISINRecord> records) {
  isin_ = std::move(records);
  IndexISIN();
}

std::uint64_t ReferenceLists::NextGeneration() {
  static std::atomic<std::uint64_t> next{1};
  return next++;
}

void ReferenceLists::IndexBO() {
  generation_ = NextGeneration();
  boFirstSerialOnly_ = kNoMatch;
  cleanClientCodes_.assign(bo_.size(), std::string());
  std::vector<std::string_view> ids(bo_.size()), codes(bo_.size());
  for (int i = kFirstRecord; i < static_cast<int>(bo_.size()); ++i) {
    const BORecord& r = bo_[i];
    if (r.serialOnly) {
      if (boFirstSerialOnly_ == kNoMatch) boFirstSerialOnly_ = i;
      continue;  // left out of the indexes: a walk fails there instead
    }
    cleanClientCodes_[i] = RemoveAll(r.clientCode, "\r");
    ids[i] = r.boId;
    codes[i] = std::string_view(cleanClientCodes_[i].data(), cleanClientCodes_[i].size());
  }
  boById_.Build(ids);
  boByClientCode_.Build(codes);
  // The record whose BO Name each record's BO ID finds, for FindBOIDAndName.
  nameRecord_.assign(bo_.size(), kNoMatch);
  for (int i = kFirstRecord; i < static_cast<int>(bo_.size()); ++i)
    if (!bo_[i].serialOnly && !bo_[i].boId.empty()) nameRecord_[i] = boById_.Find(bo_[i].boId);
}

std::pair<const std::string&, const std::string&> ReferenceLists::FindBOIDAndName(
    const std::string& clientCode) const {
  if (boFirstSerialOnly_ != kNoMatch) {  // each lookup may show its box
    const std::string& boId = FindBOIDByClientCode(clientCode);
    return {boId, FindBOName(boId)};
  }
  static const std::string none, notFound = kBONameNotFound;
  int i = clientCode.empty() ? kNoMatch : boByClientCode_.Find(clientCode);
  int name = i == kNoMatch ? kNoMatch : nameRecord_[i];
  return {i == kNoMatch ? none : bo_[i].boId, name == kNoMatch ? notFound : bo_[name].boName};
}

void ReferenceLists::IndexISIN() {
  generation_ = NextGeneration();
  upperScrip_.clear();
  upperIsin_.clear();
  isinFirstSerialOnly_ = kNoMatch;
  upperScrip_.reserve(isin_.size());
  upperIsin_.reserve(isin_.size());
  for (int i = 0; i < static_cast<int>(isin_.size()); ++i) {
    const ISINRecord& r = isin_[i];
    if (i >= kFirstRecord && r.serialOnly && isinFirstSerialOnly_ == kNoMatch)
      isinFirstSerialOnly_ = i;
    upperScrip_.push_back(ToUpper(r.scripId));
    upperIsin_.push_back(ToUpper(r.isinCode));
  }
  std::vector<char> serialOnly(isin_.size());
  for (size_t i = 0; i < isin_.size(); ++i)
    serialOnly[i] = i < kFirstRecord || isin_[i].serialOnly;  // the header is no answer
  scripIndex_.Build(upperScrip_, serialOnly);
  isinIndex_.Build(upperIsin_, serialOnly);
}

int ReferenceLists::Resolve(int match, int firstSerialOnly) const {
  if (firstSerialOnly != kNoMatch && (match == kNoMatch || firstSerialOnly < match)) {
    ShowErrorDescription(*dialogs_, "Record " + std::to_string(firstSerialOnly + 1) +
                                        " of the list holds a serial number only");
    return kNoMatch;
  }
  return match;
}

std::string ReferenceLists::FindClientCode(const std::string& boId) const {
  if (boId.empty()) return std::string();
  int i = Resolve(boById_.Find(boId), boFirstSerialOnly_);
  return i == kNoMatch ? std::string() : bo_[i].clientCode;
}

const std::string& ReferenceLists::FindBOIDByClientCode(const std::string& clientCode) const {
  static const std::string none;
  if (clientCode.empty()) return none;
  int i = Resolve(boByClientCode_.Find(clientCode), boFirstSerialOnly_);
  return i == kNoMatch ? none : bo_[i].boId;
}

const std::string& ReferenceLists::FindBOName(const std::string& boId) const {
  static const std::string notFound = kBONameNotFound;
  if (boId.empty()) return notFound;
  int i = Resolve(boById_.Find(boId), boFirstSerialOnly_);
  return i == kNoMatch ? notFound : bo_[i].boName;
}

int ReferenceLists::FindByScrip(const std::string& part) const {
  if (part.empty()) return kNoMatch;
  return scripIndex_.First(ToUpper(part));
}

int ReferenceLists::FindByIsinCode(const std::string& part) const {
  if (part.empty()) return kNoMatch;
  return isinIndex_.First(ToUpper(part));
}

const std::string& ReferenceLists::FindISINByScripID(const std::string& scripIdPart) const {
  static const std::string none;
  if (scripIdPart.empty()) return none;
  int i = Resolve(FindByScrip(scripIdPart), isinFirstSerialOnly_);
  return i == kNoMatch ? none : isin_[i].isinCode;
}

const std::string& ReferenceLists::FindISINName(const std::string& isinPart,
                                                std::string* codeBox) const {
  static const std::string notFound = kISINNameNotFound;
  if (isinPart.empty()) return notFound;
  int i = Resolve(FindByIsinCode(isinPart), isinFirstSerialOnly_);
  if (i == kNoMatch) return notFound;
  if (codeBox) *codeBox = isin_[i].isinCode;
  return isin_[i].isinName;
}

std::string ReferenceLists::FindScripID(const std::string& isinPart, std::string* codeBox) const {
  if (isinPart.empty()) return std::string();
  int i = Resolve(FindByIsinCode(isinPart), isinFirstSerialOnly_);
  if (i == kNoMatch) return std::string();
  if (codeBox) *codeBox = isin_[i].isinCode;
  return isin_[i].scripId;
}

void ProvideListFile(const std::string& path, const char* header) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (!fs::is_directory(platform::PathOf(path).parent_path(), error)) return;
  if (fs::symlink_status(platform::PathOf(path), error).type() != fs::file_type::not_found) return;
  try {
    WriteTextFile(path, header);
  } catch (const AppError&) {
    // A folder that cannot take the file: the load that follows says why.
  }
}

}  // namespace quorvin
