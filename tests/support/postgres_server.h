#pragma once

#ifdef KV820_WITH_POSTGRES

#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include <sys/types.h>

namespace kv820::test {

// A throwaway PostgreSQL server of the test process: its own folder under the system's
// temporary folder, listening only on a Unix socket there, trusting user kv820 without a
// password. It is stopped without ceremony and its folder removed when the process ends.
// Durability is switched off: a test never survives a machine crash, so writes need not.
class PostgresServer {
  public:
    // The one server of this process, started on first use; starting takes a second or so.
    static PostgresServer& shared();

    ~PostgresServer();
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    // A libpq connection URI for that database, as user kv820 over the socket.
    std::string url(const std::string& database) const;

    // A new empty database (a schema of its own in fact), named so that no other test of the
    // process sees it; its URI.
    // Starts the server again if a test stopped it and never started it.
    std::string createDatabase();

    // Ends every other connection to the database of that URI, as a server restart or a
    // network cut would end the program's; returns once those backends are gone.
    void dropConnections(const std::string& url);

    // Takes the server away (its clients' connections break) and brings it back on the
    // same folder and socket, with the data it had.
    void stop();
    void start();

  private:
    PostgresServer();

    std::filesystem::path initializedCluster();
    void startLocked();
    void shutDown() noexcept;
    bool run(std::vector<std::string> command) const;
    std::string tool(const std::string& name) const;
    std::string logTail() const;

    std::mutex mutex_;
    std::filesystem::path folder_;
    std::filesystem::path binDir_;
    pid_t owner_ = 0;
    bool running_ = false;
    int databasesMade_ = 0;
};

}  // namespace kv820::test

#endif  // KV820_WITH_POSTGRES
