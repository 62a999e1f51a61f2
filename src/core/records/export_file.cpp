#include "core/records/export_file.h"

#include <system_error>
#include <utility>

namespace kv820 {

namespace {
// Large enough that a million-line export costs few system calls.
constexpr std::size_t kBufferSize = 1 << 16;
}  // namespace

ExportFile::ExportFile(std::filesystem::path path) : path_(std::move(path)) {}

ExportFile::~ExportFile() {
    if (opened_) {
        discard();
    }
}

bool ExportFile::open() {
    buffer_.resize(kBufferSize);
    out_.rdbuf()->pubsetbuf(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    out_.open(path_, std::ios::binary | std::ios::out | std::ios::trunc);
    opened_ = out_.is_open();
    failed_ = !opened_;
    return opened_;
}

bool ExportFile::write(std::string_view text) {
    if (failed_) {
        return false;
    }
    out_.write(text.data(), static_cast<std::streamsize>(text.size()));
    failed_ = !out_.good();
    return !failed_;
}

bool ExportFile::commit() {
    if (!opened_) {
        return false;
    }
    if (!failed_) {
        out_.flush();
        failed_ = !out_.good();
    }
    out_.close();
    failed_ = failed_ || out_.fail();
    if (failed_) {
        discard();
        return false;
    }
    opened_ = false;
    return true;
}

void ExportFile::discard() {
    if (out_.is_open()) {
        out_.close();
    }
    if (opened_) {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    opened_ = false;
    failed_ = true;
}

}  // namespace kv820
