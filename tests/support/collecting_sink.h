#pragma once

#include <string>
#include <string_view>

#include "core/records/text_sink.h"

namespace kv820::test {

// A sink that keeps what it is given.
struct CollectingSink final : TextSink {
    bool write(std::string_view piece) override {
        text += piece;
        return true;
    }
    std::string text;
};

}  // namespace kv820::test
