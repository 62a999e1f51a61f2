#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/sms/sms_pdu.h"

namespace kv820 {

// The fields of 3GPP TS 23.040 messages that both directions share: the program reads
// received messages and writes the ones it sends, the simulator plays the other side.

std::optional<std::vector<std::uint8_t>> octetsFromHex(std::string_view hex);
std::string hexFromOctets(std::span<const std::uint8_t> octets);

// Reads a PDU front to back. A read past the end gives zeros or an empty span and leaves
// the reader failed, so that a decoder checks once per field group instead of per octet.
class OctetReader {
  public:
    explicit OctetReader(std::span<const std::uint8_t> octets) : octets_(octets) {}

    std::uint8_t octet() { return overruns(1) ? 0 : octets_[next_++]; }
    std::span<const std::uint8_t> octets(std::size_t count) {
        if (overruns(count)) {
            return {};
        }
        next_ += count;
        return octets_.subspan(next_ - count, count);
    }
    bool hasFailed() const { return failed_; }
    bool atEnd() const { return next_ == octets_.size(); }

  private:
    bool overruns(std::size_t count) {
        failed_ = failed_ || octets_.size() - next_ < count;
        return failed_;
    }

    std::span<const std::uint8_t> octets_;
    std::size_t next_ = 0;
    bool failed_ = false;
};

// An address as text mode shows it: "+" and digits for an international number, digits
// for any other, the decoded name for an alphanumeric one.
std::optional<std::string> readAddress(OctetReader& in);

// A number's address field: "+" numbers as international, any other with `typeOfOther`;
// nullopt when it is empty, too long, or holds anything but digits, '*' and '#'.
std::optional<std::vector<std::uint8_t>> numberAddressField(std::string_view number,
                                                            std::uint8_t typeOfOther);

// The user data's text (without its header) and the part it names.
struct PduUserData {
    std::string text;
    std::optional<ConcatenatedPart> part;
};

// The user-data length and the user data, read in the alphabet the data coding scheme
// names; nullopt when it is cut short or malformed.
std::optional<PduUserData> readUserData(OctetReader& in, std::uint8_t dataCoding, bool hasHeader);

}  // namespace kv820
