// The ISIN list loader on any file, then the three ISIN lookups (case-blind
// "contains" searches answered from a cache) for texts taken from the file:
// no crash, and every answer is the one a walk down the list gives.
#include "fuzz_support.h"
#include "list_lookups.h"

using namespace quorvin;
using namespace quorvin::fuzz;

namespace {

std::vector<std::string> Probes(std::string_view text) {
  std::vector<std::string> probes = {"", "code", "ISIN", "scrip"};
  for (std::string_view line : SplitAll(text, kCrLf)) {
    for (std::string_view field : SplitAll(line, "~")) {
      probes.emplace_back(field);
      // Parts of a field, as the clerk types them.
      if (field.size() > 2) probes.emplace_back(field.substr(1, field.size() / 2));
      if (probes.size() > 64) return probes;
    }
  }
  return probes;
}

void CheckLookups(QuietDialogs& dialogs, const ReferenceLists& lists, const std::string& probe) {
  const auto& isin = lists.ISINList();
  auto byScrip =
      WalkList(isin, probe, [&](const ISINRecord& r) { return ContainsUpper(r.scripId, probe); });
  auto byCode =
      WalkList(isin, probe, [&](const ISINRecord& r) { return ContainsUpper(r.isinCode, probe); });

  auto expectBox = [&](bool failed, const char* lookup) {
    FUZZ_CHECK(dialogs.shown.size() == (failed ? 1u : 0u), std::string(lookup) + ": " + probe);
    dialogs.shown.clear();
  };
  // Twice each: the second answer comes from the cache.
  for (int round = 0; round < 2; ++round) {
    std::string code = lists.FindISINByScripID(probe);
    expectBox(byScrip.failed, "FindISINByScripID");
    FUZZ_CHECK(code == (byScrip.match < 0 ? std::string() : isin[byScrip.match].isinCode), probe);

    std::string box = "untouched";
    std::string name = lists.FindISINName(probe, &box);
    expectBox(byCode.failed, "FindISINName");
    FUZZ_CHECK(
        name == (byCode.match < 0 ? std::string(kISINNameNotFound) : isin[byCode.match].isinName),
        probe);
    FUZZ_CHECK(box == (byCode.match < 0 ? std::string("untouched") : isin[byCode.match].isinCode),
               probe);

    box = "untouched";
    std::string scrip = lists.FindScripID(probe, &box);
    expectBox(byCode.failed, "FindScripID");
    FUZZ_CHECK(scrip == (byCode.match < 0 ? std::string() : isin[byCode.match].scripId), probe);
    FUZZ_CHECK(box == (byCode.match < 0 ? std::string("untouched") : isin[byCode.match].isinCode),
               probe);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QuietDialogs dialogs;
  ReferenceLists lists(dialogs);
  std::string_view text = AsText(data, size);
  lists.LoadISINList(WriteScratchFile("ISIN.txt", text));
  FUZZ_CHECK(dialogs.shown.size() <= 1, "one load, at most one box");
  if (!dialogs.shown.empty())
    FUZZ_CHECK(dialogs.Showed("Error loading list of ISINs."), dialogs.shown.front().title);
  dialogs.shown.clear();
  for (const std::string& probe : Probes(text)) CheckLookups(dialogs, lists, probe);
  return 0;
}
