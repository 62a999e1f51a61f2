#pragma once

#include <string>

#include "core/store/schema.h"
#include "support/temp_dir.h"

namespace kv820::test {

// A fresh database file with both tables in a folder of its own, removed with it afterwards.
class TempDatabaseFile {
  public:
    TempDatabaseFile() { createDatabase(path_); }

    const std::string& path() const { return path_; }

  private:
    TempDir dir_;
    std::string path_ = dir_.file(DatabaseFileName);
};

}  // namespace kv820::test
