#ifdef KV820_WITH_POSTGRES

#include "support/postgres_server.h"

#include <gtest/gtest.h>

#include <libpq-fe.h>

#include <memory>
#include <optional>
#include <string>

namespace kv820 {
namespace {

using Connection = std::unique_ptr<PGconn, decltype(&PQfinish)>;

Connection connect(const std::string& url) {
    Connection connection(PQconnectdb(url.c_str()), &PQfinish);
    EXPECT_EQ(PQstatus(connection.get()), CONNECTION_OK) << PQerrorMessage(connection.get());
    return connection;
}

// The first value of the answer; nothing when the statement fails.
std::optional<std::string> firstValue(PGconn* connection, const std::string& sql,
                                      const char* parameter = nullptr) {
    const std::unique_ptr<PGresult, decltype(&PQclear)> result(
        PQexecParams(connection, sql.c_str(), parameter ? 1 : 0, nullptr, &parameter, nullptr,
                     nullptr, 0),
        &PQclear);
    const ExecStatusType status = PQresultStatus(result.get());
    if (status == PGRES_COMMAND_OK) {
        return "";
    }
    if (status != PGRES_TUPLES_OK || PQntuples(result.get()) == 0) {
        return std::nullopt;
    }
    return PQgetvalue(result.get(), 0, 0);
}

TEST(PostgresServer, GivesEachTestADatabaseOfItsOwn) {
    auto& server = test::PostgresServer::shared();
    const std::string first = server.createDatabase();
    const std::string second = server.createDatabase();
    ASSERT_NE(first, second);
    const Connection inFirst = connect(first);
    ASSERT_TRUE(firstValue(inFirst.get(), "CREATE TABLE users (name text)"));
    EXPECT_EQ(firstValue(inFirst.get(), "SELECT to_regclass('users') IS NULL"), "f");
    const Connection inSecond = connect(second);
    EXPECT_EQ(firstValue(inSecond.get(), "SELECT to_regclass('users') IS NULL"), "t");
}

TEST(PostgresServer, DroppedConnectionFailsItsNextQueryAndComesBackOnReset) {
    auto& server = test::PostgresServer::shared();
    const std::string url = server.createDatabase();
    const Connection connection = connect(url);
    ASSERT_EQ(firstValue(connection.get(), "SELECT 1"), "1");
    server.dropConnections(url);
    EXPECT_EQ(firstValue(connection.get(), "SELECT 1"), std::nullopt);
    PQreset(connection.get());
    ASSERT_EQ(PQstatus(connection.get()), CONNECTION_OK) << PQerrorMessage(connection.get());
    EXPECT_EQ(firstValue(connection.get(), "SELECT 1"), "1");
}

TEST(PostgresServer, KeepsTheDataAcrossStopAndStart) {
    auto& server = test::PostgresServer::shared();
    const std::string url = server.createDatabase();
    const Connection before = connect(url);
    ASSERT_TRUE(firstValue(before.get(), "CREATE TABLE users (phone text)"));
    ASSERT_TRUE(firstValue(before.get(), "INSERT INTO users VALUES ($1)", "0912345678"));
    server.stop();
    EXPECT_EQ(firstValue(before.get(), "SELECT 1"), std::nullopt);
    EXPECT_EQ(PQping(url.c_str()), PQPING_NO_RESPONSE);
    server.start();
    const Connection after = connect(url);
    EXPECT_EQ(firstValue(after.get(), "SELECT phone FROM users"), "0912345678");
}

}  // namespace
}  // namespace kv820

#endif  // KV820_WITH_POSTGRES
