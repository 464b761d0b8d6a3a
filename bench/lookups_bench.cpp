// The six name lookups at a large broker's scale: 1M lookups against a
// 100k-record BO list and a 2k-record ISIN list.
#include <benchmark/benchmark.h>

#include <random>

#include "bench_data.h"
#include "day/reference_lists.h"

namespace quorvin::bench {
namespace {

void FillLists(ReferenceLists& lists, int accounts, int securities) {
  std::vector<BORecord> bo{{"S/N", "BO ID", "BO Name", "Client Code"}};
  for (int i = 0; i < accounts; ++i)
    bo.push_back(
        {std::to_string(i + 1), Boid(i), "Client " + std::to_string(i), "C" + std::to_string(i)});
  std::vector<ISINRecord> isin{{"S/N", "ISIN Code", "ISIN Name", "Scrip ID", "Scrip Code"}};
  for (int i = 0; i < securities; ++i)
    isin.push_back({std::to_string(i + 1), Isin(i), "Security " + std::to_string(i),
                    "SCRIP" + std::to_string(i), std::to_string(11000 + i)});
  lists.SetBOList(std::move(bo));
  lists.SetISINList(std::move(isin));
}

// One million lookups, as a day's import and Auto-Fill make them: each trade
// asks for its BO ID by client code, the name of that BO ID, the ISIN of its
// scrip and that ISIN's name; editing asks the reverse ones.
void BM_MillionLookups(benchmark::State& state) {
  SilentDialogs dialogs;
  ReferenceLists lists(dialogs);
  FillLists(lists, 100000, 2000);
  std::mt19937 rng(3);
  std::vector<int> accounts(250000), securities(250000);
  for (auto& a : accounts) a = static_cast<int>(rng() % 110000);  // some unknown
  for (auto& s : securities) s = static_cast<int>(rng() % 2100);
  for (auto _ : state) {
    size_t found = 0;
    for (size_t i = 0; i < accounts.size(); ++i) {
      std::string boid = lists.FindBOIDByClientCode("C" + std::to_string(accounts[i]));
      found += lists.FindBOName(boid).size();
      std::string isin = lists.FindISINByScripID("SCRIP" + std::to_string(securities[i]));
      found += lists.FindISINName(isin).size();
    }
    benchmark::DoNotOptimize(found);
  }
  state.SetItemsProcessed(state.iterations() * 1000000);
}
BENCHMARK(BM_MillionLookups)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace quorvin::bench
