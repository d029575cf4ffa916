// The message list: one program-wide list of pending messages, each a name
// and the object that sent it. Widgets post messages with Message::Create;
// Message::Get takes a matching one out again. Senders are compared by
// identity (their address) and are not kept alive by the list.
//
// Depends on platform/text.h and platform/stack.h.
#pragma once

#include <memory>
#include <string>

namespace kestrum::framework::message {

class Message {
public:
    Message(const std::string& name, const void* source) : Source(source), Name(name) {}

    const void* Source = nullptr;
    std::string Name;

    // Appends a message unless one with exactly this name (case-sensitive)
    // and this very source is pending; null in that case.
    static std::shared_ptr<Message> Create(const std::string& name, const void* source);
    static bool Contains(const std::string& name, const void* source);
    // Takes out the first message whose name equals name, both lower-cased; null when none.
    static std::shared_ptr<Message> Get(const std::string& name);
    // Takes out the first message from this source whose lower-cased name ends
    // with the lower-cased name; null when none.
    static std::shared_ptr<Message> Get(const std::string& name, const void* source);
    static void Clear();
    // Prints the lower-cased name of every pending message, one per line.
    static void Show();
    // The number of pending messages.
    static int Count();
};

// The unit's initialiser: empties the list.
void InitMessageUnit();

}  // namespace kestrum::framework::message

namespace kestrum::framework {
using namespace message;
}
