#pragma once
// What the lists answer for the client codes and scrip IDs of one grid's
// cells, kept from one routine of the day to the next: the import asks for
// every trade's client and scrip, and Auto-Fill asks again for the same
// cells. The answers hold only while both the lists and the grid's cell pool
// are the ones they were given for, and are not kept at all while a lookup
// may show a box (a list with a record holding a serial number only), so
// every routine sees exactly what asking the lists would give.
#include <cstdint>
#include <unordered_map>

#include "lists/reference_lists.h"
#include "shell/cell_pool.h"

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
    accounts_.clear();
    securities_.clear();
  }

  // BO ID and BO Name for a client code of the pool.
  const Account& ForClient(Cell clientCode) {
    auto [it, added] = accounts_.try_emplace(clientCode);
    if (added || lists_->HasSerialOnlyRecords()) {
      it->second.boid = pool_->Intern(lists_->FindBOIDByClientCode(*clientCode));
      it->second.boName = pool_->Intern(lists_->FindBOName(*it->second.boid));
    }
    return it->second;
  }

  // ISIN Code and ISIN Name for a scrip ID of the pool.
  const Security& ForScrip(Cell scripId) {
    auto [it, added] = securities_.try_emplace(scripId);
    if (added || lists_->HasSerialOnlyRecords()) {
      it->second.isinCode = pool_->Intern(lists_->FindISINByScripID(*scripId));
      it->second.isinName = pool_->Intern(lists_->FindISINName(*it->second.isinCode));
    }
    return it->second;
  }

 private:
  const ReferenceLists* lists_ = nullptr;
  std::uint64_t generation_ = 0;
  CellPool* pool_ = nullptr;
  std::uint64_t poolId_ = 0;
  std::unordered_map<Cell, Account> accounts_;
  std::unordered_map<Cell, Security> securities_;
};

}  // namespace quorvin
