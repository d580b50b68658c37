#pragma once

#include <string>
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

} // namespace tamsor
