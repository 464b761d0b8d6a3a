// The BO list loader on any file, then the three BO lookups for texts taken
// from the file itself: no crash, and the indexed lookups answer exactly as a
// walk down the list would, failure box included.
#include "fuzz_support.h"
#include "list_lookups.h"

using namespace quorvin;
using namespace quorvin::fuzz;

namespace {

// Texts worth looking up: every field of the file, the pieces between
// field separators, plus a few the walk treats specially.
std::vector<std::string> Probes(std::string_view text) {
  std::vector<std::string> probes = {"", "BO ID", "Client Code"};
  for (std::string_view line : SplitAll(text, kCrLf)) {
    for (std::string_view field : SplitAll(line, "~")) {
      probes.emplace_back(field);
      if (probes.size() > 64) return probes;
    }
  }
  return probes;
}

void CheckLookups(QuietDialogs& dialogs, const ReferenceLists& lists, const std::string& probe) {
  const auto& bo = lists.BOList();
  auto byId = WalkList(bo, probe, [&](const BORecord& r) { return r.boId == probe; });
  auto byCode = WalkList(bo, probe,
                         [&](const BORecord& r) { return RemoveAll(r.clientCode, "\r") == probe; });

  auto expectBox = [&](bool failed, const char* lookup) {
    FUZZ_CHECK(dialogs.shown.size() == (failed ? 1u : 0u), std::string(lookup) + ": " + probe);
    dialogs.shown.clear();
  };
  std::string code = lists.FindClientCode(probe);
  expectBox(byId.failed, "FindClientCode");
  FUZZ_CHECK(code == (byId.match < 0 ? std::string() : bo[byId.match].clientCode), probe);

  std::string name = lists.FindBOName(probe);
  expectBox(byId.failed, "FindBOName");
  FUZZ_CHECK(name == (byId.match < 0 ? std::string(kBONameNotFound) : bo[byId.match].boName),
             probe);

  std::string id = lists.FindBOIDByClientCode(probe);
  expectBox(byCode.failed, "FindBOIDByClientCode");
  FUZZ_CHECK(id == (byCode.match < 0 ? std::string() : bo[byCode.match].boId), probe);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QuietDialogs dialogs;
  ReferenceLists lists(dialogs);
  std::string_view text = AsText(data, size);
  lists.LoadBOList(WriteScratchFile("BO.txt", text));
  FUZZ_CHECK(dialogs.shown.size() <= 1, "one load, at most one box");
  if (!dialogs.shown.empty())
    FUZZ_CHECK(dialogs.Showed("Error loading list of BOs."), dialogs.shown.front().title);
  if (dialogs.shown.empty() && !lists.BOList().empty()) {
    const BORecord& last = lists.BOList().back();
    FUZZ_CHECK(last.clientCode.find('\r') == std::string::npos, "the last client code keeps a CR");
  }
  dialogs.shown.clear();
  for (const std::string& probe : Probes(text)) CheckLookups(dialogs, lists, probe);
  return 0;
}
