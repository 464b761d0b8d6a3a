#pragma once
// What the lists answer for the client codes and scrip IDs of one grid's
// cells, kept from one routine of the day to the next: the import asks for
// every trade's client and scrip, and Auto-Fill asks again for the same
// cells. The answers hold only while both the lists and the grid's cell pool
// are the ones they were given for, and are not kept at all while a lookup
// may show a box (a list with a record holding a serial number only), so
// every routine sees exactly what asking the lists would give.
#include <cstdint>
#include <string>

#include "day/reference_lists.h"
#include "ground/cell_pool.h"
#include "ground/place_map.h"

namespace quorvin {

class ListAnswers {
 public:
  struct Account {
    Cell boid, boName;
  };
  struct Security {
    Cell isinCode, isinName;
  };

  // Forgets every answer unless they were given for these lists and this pool.
  void Use(const ReferenceLists& lists, CellPool& pool) {
    if (lists_ == &lists && generation_ == lists.Generation() && pool_ == &pool &&
        poolId_ == pool.Id())
      return;
    lists_ = &lists;
    generation_ = lists.Generation();
    pool_ = &pool;
    poolId_ = pool.Id();
    accounts_.Clear();
    securities_.Clear();
  }

  // BO ID and BO Name for a client code of the pool.
  const Account& ForClient(Cell clientCode) {
    return Answer(accounts_, clientCode, [&] {
      auto [boid, boName] = lists_->FindBOIDAndName(*clientCode);
      return Account{pool_->Intern(boid), pool_->Intern(boName)};
    });
  }

  // ISIN Code and ISIN Name for a scrip ID of the pool.
  const Security& ForScrip(Cell scripId) {
    return Answer(securities_, scripId, [&] {
      Cell isinCode = pool_->Intern(lists_->FindISINByScripID(*scripId));
      return Security{isinCode, pool_->Intern(lists_->FindISINName(*isinCode))};
    });
  }

 private:
  template <typename Entry, typename Ask>
  const Entry& Answer(PlaceMap<std::string, Entry>& known, Cell key, Ask ask) {
    bool added = false;
    Entry& entry = known.Get(key, added);
    if (added || lists_->HasSerialOnlyRecords()) entry = ask();
    return entry;
  }

  const ReferenceLists* lists_ = nullptr;
  std::uint64_t generation_ = 0;
  CellPool* pool_ = nullptr;
  std::uint64_t poolId_ = 0;
  PlaceMap<std::string, Account> accounts_;
  PlaceMap<std::string, Security> securities_;
};

}  // namespace quorvin
