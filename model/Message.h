#pragma once

#include <array>
#include <charconv>
#include <string>
#include <system_error>
#include <vector>

namespace tamsor {

// What a message box shows. Text and title are UTF-8.
struct Message {
    enum class Icon { None, Exclamation, Critical, Question, Information };
    std::string text;
    std::string title;
    Icon icon = Icon::None;

    friend bool operator==(const Message&, const Message&) = default;
};

// Receives the messages of the GUI-free logic in the order the program shows
// them. The window shows each one as a modal box; tests and the batch command
// record them.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void show(const Message& message) = 0;
};

// A sink that keeps every message; used by tests and the batch command.
class MessageRecorder : public MessageSink {
public:
    void show(const Message& message) override { messages.push_back(message); }
    std::vector<Message> messages;
};

// Input errors: title "错误提示", no icon.
inline Message inputError(std::string text) {
    return Message{std::move(text), "错误提示", Message::Icon::None};
}

// A number as a message quotes it: at most `significant` significant digits,
// no trailing zeros, "." as the decimal point whatever the locale (0.55, 550,
// 1.148, 1.5e+07).
inline std::string messageNumber(double value, int significant = 6) {
    std::array<char, 40> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, significant);
    if (result.ec != std::errc())
        return "?";
    return std::string(buffer.data(), result.ptr);
}

} // namespace tamsor
