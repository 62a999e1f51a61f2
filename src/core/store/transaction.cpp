#include "core/store/transaction.h"

#include "core/store/database.h"

namespace kv820 {

Transaction::Transaction(Database& db, Purpose purpose) : db_(db) {
    if (purpose == Purpose::Write) {
        db_.execute(db_.beginSql());
    } else {
        // A file's reader sees one snapshot from its first read to its end anyway.
        db_.execute(db_.kind() == Database::Kind::Postgres
                        ? "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"
                        : "BEGIN DEFERRED");
    }
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
