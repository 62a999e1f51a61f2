#include "core/records/export_file.h"

#include <cerrno>
#include <random>
#include <system_error>
#include <utility>

namespace kv820 {

namespace {

// Large enough that a million-line export costs few system calls.
constexpr std::size_t BufferSize = 1 << 16;
constexpr int NameAttempts = 100;

// Opens a file for writing only when it does not exist yet ("x", as mkstemp does), so
// that no other file is ever overwritten by chance.
std::FILE* createNewFile(const std::filesystem::path& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"wbx");
#else
    return std::fopen(path.c_str(), "wbx");
#endif
}

// "<name>.XXXXXX" beside `path`, the X's random letters and digits.
std::filesystem::path nameBeside(const std::filesystem::path& path, std::mt19937& random) {
    static constexpr std::string_view Characters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::uniform_int_distribution<std::size_t> pick(0, Characters.size() - 1);
    std::filesystem::path name = path.filename();
    name += ".";
    for (int i = 0; i < 6; ++i) {
        name += std::string(1, Characters[pick(random)]);
    }
    return path.parent_path() / name;
}

}  // namespace

ExportFile::ExportFile(std::filesystem::path path) : path_(std::move(path)) {}

ExportFile::~ExportFile() {
    discard();
}

bool ExportFile::open() {
    std::error_code error;
    if (std::filesystem::is_directory(path_, error)) {
        fail(std::make_error_code(std::errc::is_a_directory));
        return false;
    }
    std::mt19937 random(std::random_device{}());
    for (int attempt = 0; attempt < NameAttempts && !file_; ++attempt) {
        temporary_ = nameBeside(path_, random);
        errno = 0;
        file_ = createNewFile(temporary_);
        if (!file_ && errno != EEXIST) {
            break;
        }
    }
    if (!file_) {
        fail(errno);
        temporary_.clear();  // not ours: it was never created, or another file's name
        return false;
    }
    buffer_.resize(BufferSize);
    std::setvbuf(file_, buffer_.data(), _IOFBF, buffer_.size());
    return true;
}

bool ExportFile::write(std::string_view text) {
    if (failed_ || !file_) {
        return false;
    }
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) {
        fail(errno);
    }
    return !failed_;
}

bool ExportFile::commit() {
    if (!file_) {
        return false;
    }
    if (!failed_) {
        errno = 0;
        if (std::fflush(file_) != 0) {
            fail(errno);
        }
    }
    errno = 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!closed && !failed_) {
        fail(errno);
    }
    std::error_code renamed;
    if (!failed_) {
        std::filesystem::rename(temporary_, path_, renamed);
        if (renamed) {
            fail(renamed);
        }
    }
    if (failed_) {
        discard();
        return false;
    }
    temporary_.clear();
    return true;
}

void ExportFile::discard() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temporary_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
        temporary_.clear();
    }
    failed_ = true;
}

void ExportFile::fail(int error) {
    failed_ = true;
    if (reason_.empty() && error != 0) {
        reason_ = std::generic_category().message(error);
    }
}

void ExportFile::fail(const std::error_code& error) {
    failed_ = true;
    if (reason_.empty()) {
        reason_ = error.message();
    }
}

}  // namespace kv820
