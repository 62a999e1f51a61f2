#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/records/text_sink.h"

namespace kv820 {

// The file an export writes. The document goes into a new file beside the chosen one
// ("<name>.XXXXXX") and replaces the chosen file only when it is whole: whatever fails,
// the file the operator had stays as it was and no partial document is left behind.
// Every write, the close and the replacement are checked; a failure keeps the system's
// reason for the operator's message.
class ExportFile final : public TextSink {
  public:
    explicit ExportFile(std::filesystem::path path);
    ~ExportFile() override;
    ExportFile(const ExportFile&) = delete;
    ExportFile& operator=(const ExportFile&) = delete;

    // Creates the file beside the chosen one. False when that is not possible, or when
    // the chosen path is a folder.
    bool open();
    bool write(std::string_view text) override;
    // Flushes and closes the file and puts it in place of the chosen one. On failure the
    // new file is removed and false returned.
    bool commit();
    // Closes and removes a new file that will not be completed.
    void discard();

    // Why the last step failed, in the system's words ("No space left on device"); empty
    // when nothing failed or the system gave no reason.
    const std::string& failureReason() const { return reason_; }

  private:
    void fail(int error);
    void fail(const std::error_code& error);

    std::filesystem::path path_;
    std::filesystem::path temporary_;
    std::vector<char> buffer_;
    std::FILE* file_ = nullptr;
    bool failed_ = false;
    std::string reason_;
};

}  // namespace kv820
