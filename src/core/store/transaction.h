#pragma once

namespace kv820 {

class Database;

// An immediate transaction (RAII): rolled back unless committed.
class Transaction {
  public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

  private:
    Database& db_;
    bool done_ = false;
};

}  // namespace kv820
