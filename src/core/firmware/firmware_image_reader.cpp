#include "core/firmware/firmware_image_reader.h"

#include <vector>

namespace kv820 {

std::string firmwareHexText(const unsigned char* bytes, std::size_t count) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(count * 3);
    for (std::size_t i = 0; i < count; ++i) {
        text += Digits[bytes[i] >> 4];
        text += Digits[bytes[i] & 0x0F];
        text += ' ';
    }
    return text;
}

std::optional<std::string> FirmwareImageReader::nextBlock() {
    if (exhausted_) {
        return std::nullopt;
    }
    const std::size_t size = firstBlockDone_ ? BlockSize : FirstBlockSize;
    std::vector<unsigned char> block(size);
    image_.read(reinterpret_cast<char*>(block.data()), static_cast<std::streamsize>(size));
    if (static_cast<std::size_t>(image_.gcount()) < size) {
        exhausted_ = true;
        return std::nullopt;
    }
    firstBlockDone_ = true;
    return firmwareHexText(block.data(), size);
}

}  // namespace kv820
