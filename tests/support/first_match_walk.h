#pragma once
// The list lookups as a walk from the first record after the header that stops
// at the first match; an empty text matches nothing. The yardstick for the
// indexed lookups.
#include <cstddef>
#include <functional>
#include <string>

#include "day/reference_lists.h"
#include "ground/ports.h"
#include "ground/text.h"

namespace quorvin::test {

// Each walk returns the index of the first record that matches, -1 when none
// does, or -2 when it reaches a record holding a serial number only first.
struct Walk {
  const ReferenceLists& l;
  int bo(const std::function<bool(const BORecord&)>& match) const {
    for (size_t i = 1; i < l.BOList().size(); ++i) {
      if (l.BOList()[i].serialOnly) return -2;
      if (match(l.BOList()[i])) return static_cast<int>(i);
    }
    return -1;
  }
  int isin(const std::function<bool(const ISINRecord&)>& match) const {
    for (size_t i = 1; i < l.ISINList().size(); ++i) {
      if (l.ISINList()[i].serialOnly) return -2;
      if (match(l.ISINList()[i])) return static_cast<int>(i);
    }
    return -1;
  }
};

// The lookups the entry grid uses, each a walk. A walk that reaches a record
// holding a serial number only fails there: reported, then no match.
class WalkLookups {
 public:
  WalkLookups(const ReferenceLists& lists, Dialogs& dialogs) : walk_{lists}, dialogs_(dialogs) {}

  std::string FindBOIDByClientCode(const std::string& code) const {
    const auto& bo = walk_.l.BOList();
    if (code.empty()) return std::string();
    int i = Checked(
        walk_.bo([&](const BORecord& r) { return RemoveAll(r.clientCode, "\r") == code; }), bo);
    return i >= 0 ? bo[i].boId : std::string();
  }
  std::string FindBOName(const std::string& boid) const {
    const auto& bo = walk_.l.BOList();
    if (boid.empty()) return kBONameNotFound;
    int i = Checked(walk_.bo([&](const BORecord& r) { return r.boId == boid; }), bo);
    return i >= 0 ? bo[i].boName : std::string(kBONameNotFound);
  }
  std::string FindISINByScripID(const std::string& part) const {
    const auto& isin = walk_.l.ISINList();
    if (part.empty()) return std::string();
    const std::string upper = ToUpper(part);
    int i = Checked(walk_.isin([&](const ISINRecord& r) {
      return ToUpper(r.scripId).find(upper) != std::string::npos;
    }),
                    isin);
    return i >= 0 ? isin[i].isinCode : std::string();
  }
  std::string FindISINName(const std::string& part) const {
    const auto& isin = walk_.l.ISINList();
    if (part.empty()) return kISINNameNotFound;
    const std::string upper = ToUpper(part);
    int i = Checked(walk_.isin([&](const ISINRecord& r) {
      return ToUpper(r.isinCode).find(upper) != std::string::npos;
    }),
                    isin);
    return i >= 0 ? isin[i].isinName : std::string(kISINNameNotFound);
  }

 private:
  template <typename Records>
  int Checked(int found, const Records& records) const {
    if (found != -2) return found;
    size_t bad = 1;
    while (!records[bad].serialOnly) ++bad;
    ShowErrorDescription(
        dialogs_, "Record " + std::to_string(bad + 1) + " of the list holds a serial number only");
    return -1;
  }

  Walk walk_;
  Dialogs& dialogs_;
};

}  // namespace quorvin::test
