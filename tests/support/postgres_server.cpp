#include "support/postgres_server.h"

#ifdef KV820_WITH_POSTGRES

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include <fcntl.h>
#include <libpq-fe.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kv820::test {

namespace {

constexpr std::size_t LogTailLength = 2000;
constexpr const char* UnprivilegedUser = "nobody";

using Connection = std::unique_ptr<PGconn, decltype(&PQfinish)>;
using Result = std::unique_ptr<PGresult, decltype(&PQclear)>;

Connection connect(const std::string& url) {
    Connection connection(PQconnectdb(url.c_str()), &PQfinish);
    if (PQstatus(connection.get()) != CONNECTION_OK) {
        throw std::runtime_error("cannot connect to " + url + ": " +
                                 PQerrorMessage(connection.get()));
    }
    return connection;
}

Result execute(PGconn* connection, const std::string& sql) {
    Result result(PQexec(connection, sql.c_str()), &PQclear);
    const ExecStatusType status = PQresultStatus(result.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        throw std::runtime_error(sql + ": " + PQerrorMessage(connection));
    }
    return result;
}

// A URI component: only the unreserved characters stand for themselves.
std::string percentEncoded(const std::string& text) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const unsigned char c : text) {
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                                (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' ||
                                c == '~';
        if (unreserved) {
            encoded += static_cast<char>(c);
        } else {
            encoded += {'%', Hex[c >> 4], Hex[c & 0xF]};
        }
    }
    return encoded;
}

// Debian keeps each major version's programs apart; the newest is taken. Empty when there
// is no such folder: the programs are then looked up on the PATH.
std::filesystem::path newestBinDir() {
    std::filesystem::path newest;
    long newestVersion = -1;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/usr/lib/postgresql", error)) {
        const std::string name = entry.path().filename().string();
        char* end = nullptr;
        const long version = std::strtol(name.c_str(), &end, 10);
        if (*end == '\0' && version > newestVersion &&
            std::filesystem::exists(entry.path() / "bin" / "initdb")) {
            newest = entry.path() / "bin";
            newestVersion = version;
        }
    }
    return newest;
}

std::filesystem::path makeFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kv820-pg-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
    }
    return pattern;
}

// PostgreSQL refuses to run as root, and CI runs the tests as root: the folder is handed to
// an unprivileged user, who then runs the server's programs.
void handOverWhenRoot(const std::filesystem::path& folder) {
    if (::geteuid() != 0) {
        return;
    }
    const passwd* user = ::getpwnam(UnprivilegedUser);
    if (user == nullptr || ::chown(folder.c_str(), user->pw_uid, user->pw_gid) != 0) {
        throw std::runtime_error("cannot hand " + folder.string() + " to user nobody");
    }
}

std::string tailOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    return all.size() > LogTailLength ? all.substr(all.size() - LogTailLength) : all;
}

}  // namespace

PostgresServer& PostgresServer::shared() {
    static PostgresServer server;
    return server;
}

PostgresServer::PostgresServer()
    : folder_(makeFolder()), binDir_(newestBinDir()), owner_(::getpid()) {
    try {
        handOverWhenRoot(folder_);
        if (!run({"cp", "-a", initializedCluster().string(), (folder_ / "data").string()})) {
            throw std::runtime_error("the cluster could not be copied:\n" + logTail());
        }
        startLocked();
    } catch (...) {
        shutDown();
        throw;
    }
}

// initdb takes seconds, and every test runs in a process of its own: the cluster it makes is
// made once, kept beside the test folders, and copied (a cluster never started is a set of
// plain files). Two processes that make it at once each make their own; one keeps its.
std::filesystem::path PostgresServer::initializedCluster() {
    const std::filesystem::path kept = std::filesystem::temp_directory_path() /
                                       ("kv820-pg-cluster-" + std::to_string(::geteuid()) + "-" +
                                        binDir_.parent_path().filename().string());
    std::error_code error;
    if (std::filesystem::exists(kept / "PG_VERSION", error)) {
        return kept;
    }
    const std::filesystem::path made = folder_ / "cluster";
    if (!run({tool("initdb"), "-D", made.string(), "-A", "trust", "-U", "kv820", "-E", "UTF8",
              "--locale=C", "--no-sync"})) {
        throw std::runtime_error("initdb failed:\n" + logTail());
    }
    std::filesystem::rename(made, kept, error);
    return std::filesystem::exists(kept / "PG_VERSION", error) ? kept : made;
}

PostgresServer::~PostgresServer() {
    // A forked child (a death test) leaves its parent's server alone.
    if (::getpid() == owner_) {
        shutDown();
    }
}

// Whatever a failed start or a test left running is stopped too: the server's pid file says
// whether a server may be there.
void PostgresServer::shutDown() noexcept {
    std::error_code ignored;
    if (std::filesystem::exists(folder_ / "data" / "postmaster.pid", ignored)) {
        run({tool("pg_ctl"), "-D", (folder_ / "data").string(), "-w", "stop", "-m", "immediate"});
    }
    running_ = false;
    std::filesystem::remove_all(folder_, ignored);
}

std::string PostgresServer::url(const std::string& database) const {
    return "postgresql://kv820@/" + percentEncoded(database) +
           "?host=" + percentEncoded(folder_.string());
}

// A schema of its own is as empty as a database of its own, and made in a millisecond
// rather than in a good part of a second: the URL makes it the connection's only one.
std::string PostgresServer::createDatabase() {
    const std::lock_guard lock(mutex_);
    startLocked();
    const std::string name = "kv820_test_" + std::to_string(++databasesMade_);
    execute(connect(url("postgres")).get(), "CREATE SCHEMA " + name);
    return url("postgres") + "&options=" + percentEncoded("-c search_path=" + name);
}

void PostgresServer::dropConnections(const std::string& url) {
    // SQL does not promise to test conditions in the written order: the other backends are
    // listed first, so that this connection is never among those terminated. The timeout makes
    // each termination wait until the backend has exited, so that the caller's next step meets
    // a connection that is already gone.
    const Connection connection = connect(url);
    const Result survivors = execute(connection.get(),
                                     "WITH others AS MATERIALIZED (SELECT pid FROM "
                                     "pg_stat_activity WHERE datname = current_database() "
                                     "AND pid <> pg_backend_pid()) "
                                     "SELECT count(*) FROM others "
                                     "WHERE NOT pg_terminate_backend(pid, 5000)");
    if (std::string(PQgetvalue(survivors.get(), 0, 0)) != "0") {
        throw std::runtime_error("connections to " + url + " outlived their termination");
    }
}

void PostgresServer::stop() {
    const std::lock_guard lock(mutex_);
    if (!running_) {
        return;
    }
    if (!run({tool("pg_ctl"), "-D", (folder_ / "data").string(), "-w", "stop", "-m", "fast"})) {
        throw std::runtime_error("pg_ctl stop failed:\n" + logTail());
    }
    running_ = false;
}

void PostgresServer::start() {
    const std::lock_guard lock(mutex_);
    startLocked();
}

void PostgresServer::startLocked() {
    if (running_) {
        return;
    }
    // pg_ctl hands these options to a shell: the folder is quoted, the empty address list
    // (no TCP at all) reaches the server as an empty value.
    const std::string options = "-k '" + folder_.string() +
                                "' -c listen_addresses='' -c fsync=off -c synchronous_commit=off"
                                " -c full_page_writes=off -c max_connections=200";
    if (!run({tool("pg_ctl"), "-D", (folder_ / "data").string(), "-w", "-l",
              (folder_ / "log").string(), "start", "-o", options})) {
        throw std::runtime_error("the PostgreSQL server did not start:\n" + logTail());
    }
    running_ = true;
}

std::string PostgresServer::tool(const std::string& name) const {
    return binDir_.empty() ? name : (binDir_ / name).string();
}

// The program's output goes to a log of its own in the folder; it runs from the folder,
// since the unprivileged user may not enter the test's working folder.
bool PostgresServer::run(std::vector<std::string> command) const {
    if (::geteuid() == 0) {
        command.insert(command.begin(), {"runuser", "-u", UnprivilegedUser, "--"});
    }
    std::vector<char*> argv;
    for (std::string& argument : command) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const std::string cannotRun = "cannot run " + command.front() + "\n";
    const int output =
        ::open((folder_ / "tools.log").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (output < 0) {
        return false;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        // Only async-signal-safe calls from here. The server outlives this child: it must not
        // hold the test's own files, pipes or terminals open.
        if (::chdir(folder_.c_str()) == 0 && ::dup2(output, 1) == 1 && ::dup2(output, 2) == 2) {
            ::close_range(3, ~0U, 0);
            ::execvp(argv[0], argv.data());
        }
        (void)!::write(2, cannotRun.data(), cannotRun.size());
        ::_exit(127);
    }
    ::close(output);
    int status = 0;
    while (child > 0 && ::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return child > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string PostgresServer::logTail() const {
    return "--- " + (folder_ / "tools.log").string() + "\n" + tailOf(folder_ / "tools.log") +
           "--- " + (folder_ / "log").string() + "\n" + tailOf(folder_ / "log");
}

}  // namespace kv820::test

#endif  // KV820_WITH_POSTGRES
