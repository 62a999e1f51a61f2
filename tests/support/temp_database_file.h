#pragma once

#include <atomic>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "core/store/schema.h"

namespace kv820::test {

// A fresh database file with both tables, removed (with its journal files) afterwards.
class TempDatabaseFile {
  public:
    TempDatabaseFile() {
        static std::atomic<int> counter{0};
        path_ = (std::filesystem::temp_directory_path() /
                 ("kv820-report-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) +
                  ".mdb"))
                    .string();
        CreateDatabaseFile(path_);
    }
    ~TempDatabaseFile() {
        std::error_code ignored;
        for (const char* suffix : {"", "-wal", "-shm"}) {
            std::filesystem::remove(path_ + suffix, ignored);
        }
    }
    TempDatabaseFile(const TempDatabaseFile&) = delete;
    TempDatabaseFile& operator=(const TempDatabaseFile&) = delete;

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace kv820::test
