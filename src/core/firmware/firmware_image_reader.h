#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <string>

namespace kv820 {

// Reads a firmware image as the lines the modem log shows: each byte as two upper-case
// hexadecimal digits and a blank ("00 0A FF "), 128 bytes in the first line, 1024 in every
// later one. A block the image does not fill (the end of the image) is never shown.
class FirmwareImageReader {
  public:
    static constexpr std::size_t FirstBlockSize = 128;
    static constexpr std::size_t BlockSize = 1024;

    explicit FirmwareImageReader(std::istream& image) : image_(image) {}

    // The text of the next complete block; nothing once the image is exhausted or
    // unreadable.
    std::optional<std::string> nextBlock();

  private:
    std::istream& image_;
    bool firstBlockDone_ = false;
    bool exhausted_ = false;
};

// The image text of bytes: "%.2X " for each.
std::string firmwareHexText(const unsigned char* bytes, std::size_t count);

}  // namespace kv820
