#pragma once

namespace kv820 {

class Database;

// A transaction (RAII): rolled back unless committed.
class Transaction {
  public:
    enum class Purpose {
        Write,  // holds the write lock from its start
        Read,   // reads one consistent snapshot, and writes nothing
    };

    explicit Transaction(Database& db, Purpose purpose = Purpose::Write);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

  private:
    Database& db_;
    bool done_ = false;
};

}  // namespace kv820
