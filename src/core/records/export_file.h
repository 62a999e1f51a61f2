#pragma once

#include <filesystem>
#include <fstream>
#include <string_view>
#include <vector>

#include "core/records/text_sink.h"

namespace kv820 {

// The file an export writes. It is opened truncating, so an existing longer file leaves no
// old bytes behind; every write and the close are checked, and a file that was not
// completed is removed, so a failed export never leaves a partial document that looks
// like a good one.
class ExportFile final : public TextSink {
  public:
    explicit ExportFile(std::filesystem::path path);
    ~ExportFile() override;
    ExportFile(const ExportFile&) = delete;
    ExportFile& operator=(const ExportFile&) = delete;

    // Creates the file, or empties it when it exists. False when that is not possible.
    bool open();
    bool write(std::string_view text) override;
    // Flushes and closes the file. On failure the file is removed and false returned.
    bool commit();
    // Closes and removes an opened file that will not be completed.
    void discard();

  private:
    std::filesystem::path path_;
    std::vector<char> buffer_;
    std::ofstream out_;
    bool opened_ = false;
    bool failed_ = false;
};

}  // namespace kv820
