#include "support/temp_dir.h"

#include <random>
#include <stdexcept>
#include <system_error>

namespace kv820::test {

namespace {

constexpr int NameAttempts = 100;

// "kv820-test-" and six random letters and digits, as mkdtemp would name it; made here
// because Windows has no mkdtemp. Lower case only: Windows names ignore case.
std::string randomFolderName(std::mt19937& random) {
    static constexpr std::string_view Characters = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<std::size_t> pick(0, Characters.size() - 1);
    std::string name = "kv820-test-";
    for (int i = 0; i < 6; ++i) {
        name += Characters[pick(random)];
    }
    return name;
}

}  // namespace

TempDir::TempDir() {
    const std::filesystem::path parent = std::filesystem::temp_directory_path();
    std::mt19937 random{std::random_device{}()};
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        const std::filesystem::path candidate = parent / randomFolderName(random);
        // create_directory says false for a folder that already exists: another test's,
        // never taken over.
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            path_ = candidate;
            return;
        }
        if (error) {
            break;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace kv820::test
