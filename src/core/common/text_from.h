#pragma once

#include <cstddef>
#include <string_view>

namespace kv820 {

// The part of a text from byte `offset` on; empty when the text is shorter. Replies and
// report pieces are often shorter than the layout expects, and reading past their end
// must give nothing rather than stray memory.
inline std::string_view textFrom(std::string_view text, std::size_t offset) {
    return offset < text.size() ? text.substr(offset) : std::string_view();
}

// At most the first `count` bytes of a text.
inline std::string_view textPrefix(std::string_view text, std::size_t count) {
    return text.substr(0, count < text.size() ? count : text.size());
}

}  // namespace kv820
