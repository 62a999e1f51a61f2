#include "core/store/transaction.h"

#include "core/store/database.h"

namespace kv820 {

Transaction::Transaction(Database& db) : db_(db) {
    db_.execute(db_.beginSql());
}

Transaction::~Transaction() {
    if (!done_) {
        try {
            db_.execute("ROLLBACK");
        } catch (...) {
            // The transaction is gone either way; a destructor must not throw.
        }
    }
}

void Transaction::commit() {
    db_.execute("COMMIT");
    done_ = true;
}

}  // namespace kv820
