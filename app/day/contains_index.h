#pragma once
// Answers "the first record whose text contains this part" without walking
// the list: every piece of every short text is filed under the first record
// it occurs in. Texts too long to file piece by piece are walked, and the
// earlier of the two answers wins. Texts and parts are compared byte by byte,
// so callers put both in one case first.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvin {

class ContainsIndex {
 public:
  static constexpr int kNone = -1;
  // Texts longer than this are walked rather than filed piece by piece.
  static constexpr size_t kLongestFiled = 24;

  // texts[i] is record i's text; records with skip[i] set are left out. The
  // texts must outlive the index.
  void Build(const std::vector<std::string>& texts, const std::vector<char>& skip) {
    texts_ = &texts;
    first_.clear();
    long_.clear();
    for (int i = 0; i < static_cast<int>(texts.size()); ++i) {
      if (skip[i]) continue;
      std::string_view text = texts[i];
      if (text.size() > kLongestFiled) {
        long_.push_back(i);
        continue;
      }
      for (size_t start = 0; start <= text.size(); ++start)
        for (size_t size = start == 0 ? 0 : 1; start + size <= text.size(); ++size)
          first_.try_emplace(text.substr(start, size), i);
    }
  }

  int First(std::string_view part) const {
    auto filed = first_.find(part);
    int found = filed == first_.end() ? kNone : filed->second;
    for (int i : long_) {
      if (found != kNone && i > found) break;
      if ((*texts_)[i].find(part) != std::string::npos) return i;
    }
    return found;
  }

 private:
  const std::vector<std::string>* texts_ = nullptr;
  std::unordered_map<std::string_view, int> first_;  // views into the texts
  std::vector<int> long_;
};

}  // namespace quorvin
