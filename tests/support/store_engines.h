#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/store/schema.h"
#include "support/temp_database_file.h"
#ifdef KV820_WITH_POSTGRES
#include "support/postgres_server.h"
#endif

namespace kv820::test {

// The store suite runs once on each engine: the SQLite file, and a PostgreSQL database of a
// server the tests start themselves.
enum class Engine { Sqlite, Postgres };

inline std::vector<Engine> everyEngine() {
#ifdef KV820_WITH_POSTGRES
    return {Engine::Sqlite, Engine::Postgres};
#else
    return {Engine::Sqlite};
#endif
}

inline std::string engineName(const testing::TestParamInfo<Engine>& info) {
    return info.param == Engine::Sqlite ? "Sqlite" : "Postgres";
}

// A fresh store with both tables, of its own: a file in a folder of its own, or a database
// of its own on the tests' server.
class TempStore {
  public:
    explicit TempStore(Engine engine) {
        if (engine == Engine::Sqlite) {
            file_.emplace();
            location_ = file_->path();
            return;
        }
#ifdef KV820_WITH_POSTGRES
        location_ = PostgresServer::shared().createDatabase();
        createDatabase(location_);
#endif
    }

    const std::string& location() const {
        return location_;
    }

  private:
    std::optional<TempDatabaseFile> file_;
    std::string location_;
};

}  // namespace kv820::test

#define KV820_ON_EVERY_ENGINE(suite)                                                        \
    INSTANTIATE_TEST_SUITE_P(Engines, suite, testing::ValuesIn(kv820::test::everyEngine()), \
                             kv820::test::engineName)
