#pragma once

#include <string_view>

namespace kv820 {

// Where the export writers put their document.
class TextSink {
  public:
    virtual ~TextSink() = default;
    // False when the text could not be written; every later write fails as well.
    virtual bool write(std::string_view text) = 0;
};

}  // namespace kv820
