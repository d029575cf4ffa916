#include "kestrum-framework/message.h"

#include <iostream>

#include "platform/stack.h"
#include "platform/text.h"

namespace kestrum::framework::message {

namespace {

platform::Stack<std::shared_ptr<Message>>& PendingMessages() {
    static platform::Stack<std::shared_ptr<Message>> list;
    return list;
}

// Takes the message at the index out of the list, the rest keeping their order.
std::shared_ptr<Message> TakeOut(int index) {
    auto& list = PendingMessages();
    std::shared_ptr<Message> found = list[index];
    list.Erase(index);
    return found;
}

}  // namespace

std::shared_ptr<Message> Message::Create(const std::string& name, const void* source) {
    if (Contains(name, source)) return nullptr;
    auto created = std::make_shared<Message>(name, source);
    PendingMessages().Add(created);
    return created;
}

bool Message::Contains(const std::string& name, const void* source) {
    for (const auto& pending : PendingMessages()) {
        if (pending->Source == source && platform::Compare(pending->Name, name) == 0) return true;
    }
    return false;
}

std::shared_ptr<Message> Message::Get(const std::string& name) {
    const std::string wanted = platform::ToLower(name);
    auto& list = PendingMessages();
    for (int i = 0; i < list.Length(); ++i) {
        if (platform::Compare(platform::ToLower(list[i]->Name), wanted) == 0) return TakeOut(i);
    }
    return nullptr;
}

std::shared_ptr<Message> Message::Get(const std::string& name, const void* source) {
    const std::string wanted = platform::ToLower(name);
    auto& list = PendingMessages();
    for (int i = 0; i < list.Length(); ++i) {
        if (list[i]->Source != source) continue;
        const std::string lower = platform::ToLower(list[i]->Name);
        // An empty name matches only an empty name, not the end of every name.
        const bool match = wanted.empty() ? lower.empty() : platform::EndsWith(lower, wanted);
        if (match) return TakeOut(i);
    }
    return nullptr;
}

void Message::Clear() { PendingMessages().Clear(); }

void Message::Show() {
    for (const auto& pending : PendingMessages()) std::cout << platform::ToLower(pending->Name) << "\n";
    std::cout.flush();
}

int Message::Count() { return PendingMessages().Length(); }

void InitMessageUnit() { PendingMessages().Clear(); }

}  // namespace kestrum::framework::message
