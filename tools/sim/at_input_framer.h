#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace kv820::sim {

// One complete unit of input a GSM module reacts to.
struct FramedInput {
    enum class Kind {
        CommandLine,       // a line ended by CR (without the CR)
        WakeCharacter,     // "1" or "2" arriving alone at the start of a line
        MessageText,       // SMS text after the "> " prompt, ended by Ctrl-Z
        MessageCancelled,  // SMS text ended by ESC
    };
    Kind kind;
    std::string text;
};

// Cuts the byte stream a module receives into command lines and message texts. LF is
// ignored in command mode, so "CR LF" terminators end a line exactly once. Over-long
// command lines keep only their first MaxLine bytes, as a module's line buffer would.
class AtInputFramer {
  public:
    static constexpr std::size_t MaxLine = 1024;
    static constexpr char CtrlZ = '\x1a';
    static constexpr char Escape = '\x1b';

    std::optional<FramedInput> push(char byte);
    // After a "> " prompt the next bytes are message text up to Ctrl-Z.
    void expectMessageText() { messageText_ = true; }
    bool inMessageText() const { return messageText_; }
    void reset();

  private:
    std::optional<FramedInput> pushCommandByte(char byte);
    std::optional<FramedInput> pushTextByte(char byte);

    std::string buffer_;
    bool messageText_ = false;
};

}  // namespace kv820::sim
