#pragma once

#include <algorithm>
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

// The fewest significant digits that read back as the same double (17 for
// what never does, such as NaN).
inline int roundTripDigits(double value) {
    for (int digits = 1; digits < 17; ++digits) {
        const std::string text = messageNumber(value, digits);
        double back = 0.0;
        const auto result = std::from_chars(text.data(), text.data() + text.size(), back);
        if (result.ec == std::errc() && back == value)
            return digits;
    }
    return 17;
}

// Two numbers that one message sets against each other ("1.19小于1.2"): each
// in its short form, or, when those read the same but the numbers differ,
// both with as many more digits as it takes to tell them apart (never more
// than a number needs to read back as itself), so that a value just past a
// limit never reads as the limit itself.
struct NumberPair {
    std::string first;
    std::string second;
};
inline NumberPair distinctNumbers(double first, double second, int firstSignificant = 6,
                                  int secondSignificant = 6) {
    NumberPair texts{messageNumber(first, firstSignificant),
                     messageNumber(second, secondSignificant)};
    if (texts.first != texts.second || first == second)
        return texts;
    const int firstMost = roundTripDigits(first);
    const int secondMost = roundTripDigits(second);
    for (int digits = std::min(firstSignificant, secondSignificant) + 1;
         texts.first == texts.second && digits <= 17; ++digits)
        texts = NumberPair{
            messageNumber(first, std::min(std::max(firstSignificant, digits), firstMost)),
            messageNumber(second, std::min(std::max(secondSignificant, digits), secondMost))};
    return texts;
}

} // namespace tamsor
