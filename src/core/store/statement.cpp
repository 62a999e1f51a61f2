#include "core/store/statement.h"

#include "core/store/database.h"
#include "core/store/database_engine.h"
#include "core/store/database_error.h"

namespace kv820 {

Statement::Statement(Database& db, std::string_view sql) : prepared_(db.engine().prepare(sql)) {}

Statement::~Statement() = default;
Statement::Statement(Statement&&) noexcept = default;
Statement& Statement::operator=(Statement&&) noexcept = default;

Statement& Statement::bind(int index, std::string_view text) {
    prepared_->bindText(index, text);
    return *this;
}

Statement& Statement::bind(int index, std::int64_t value) {
    prepared_->bindInteger(index, value);
    return *this;
}

Statement& Statement::bindBlob(int index, std::string_view bytes) {
    prepared_->bindBlob(index, bytes);
    return *this;
}

Statement& Statement::bindOrNull(int index, const std::optional<std::string>& text) {
    if (text) {
        return bind(index, std::string_view(*text));
    }
    prepared_->bindNull(index);
    return *this;
}

bool Statement::step() {
    return prepared_->step();
}

void Statement::run() {
    while (step()) {
    }
}

std::int64_t Statement::runReturningId() {
    if (!step()) {
        throw DatabaseError("the insert gave no id");
    }
    const std::int64_t id = integer(0);
    run();
    return id;
}

void Statement::reset() {
    prepared_->reset();
}

std::optional<std::string> Statement::text(int column) const {
    const std::string_view value = textView(column);
    return value.data() == nullptr ? std::nullopt : std::optional<std::string>(value);
}

std::string_view Statement::textView(int column) const {
    return prepared_->textView(column);
}

std::int64_t Statement::integer(int column) const {
    return prepared_->integer(column);
}

std::string_view Statement::blob(int column) const {
    return prepared_->blob(column);
}

bool Statement::isNull(int column) const {
    return prepared_->isNull(column);
}

int Statement::columnCount() const {
    return prepared_->columnCount();
}

}  // namespace kv820
