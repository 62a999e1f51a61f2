// Any "at+cmgr=" replies through the setup message decoding, and the setup file read from
// them written back and read again.

#include "core/setup/setup_file.h"
#include "core/setup/setup_message_codec.h"
#include "fuzz_check.h"
#include "support/tracker_replies.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    kv820::SetupMessageReplies replies;
    for (std::string& reply : replies) {
        reply = provider.ConsumeRandomLengthString(1024);
    }

    // Texts typed in the dialog are single lines; only such fields survive a round trip
    // unchanged (a line break at the end of a field cut to its longest length would not).
    bool singleLines = true;
    for (int k = 1; k <= kv820::SetupMessageCount; ++k) {
        const std::vector<std::string> fields = kv820::DecodeSetupMessage(replies[k - 1], k);
        FUZZ_CHECK(fields.size() ==
                   static_cast<std::size_t>(kv820::SetupMessageFieldCounts[k - 1]));
        for (const std::string& field : fields) {
            FUZZ_CHECK(field.size() <= kv820::MaxSetupFieldLength);
            FUZZ_CHECK(field.find(',') == std::string::npos);
            singleLines = singleLines && field.find_first_of("\r\n") == std::string::npos;
        }
    }

    // What was read is what the dialog writes back; reading that again changes nothing.
    const kv820::SetupFile file = kv820::readSetupFile(replies);
    FUZZ_CHECK(file.maxGpsFixingTime >= 1 && file.maxGpsFixingTime <= 10);
    FUZZ_CHECK(file.reportFormat == 0 || file.reportFormat == 1);
    FUZZ_CHECK(static_cast<unsigned>(file.reportMode) <= 2);

    if (!singleLines) {
        return 0;
    }
    const kv820::SetupMessageTexts texts = kv820::EncodeSetupFile(file, "+1.00");
    kv820::SetupMessageReplies written;
    for (int k = 1; k <= kv820::SetupMessageCount; ++k) {
        written[k - 1] = kv820::test::storedMessageReply(k, k, texts[k - 1]);
    }
    FUZZ_CHECK(kv820::readSetupFile(written) == file);
    return 0;
}
