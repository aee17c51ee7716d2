#include "base/NotifyPersistent.h"

#include <algorithm>

namespace quodle {

void TNotifyPersistent::EndUpdate() {
    if (updateCount_ == 0) return;
    if (--updateCount_ == 0 && pending_) {
        pending_ = false;
        DoChange(*this);
    }
}

void TNotifyPersistent::Changed(TNotifyPersistent& sender) {
    if (updateCount_ > 0) {
        pending_ = true;
        return;
    }
    DoChange(sender);
}

void TNotifyPersistent::DoChange(TNotifyPersistent& sender) {
    if (onChange_) onChange_(sender);
}

void TNotifyEventList::Add(const void* subscriber, THandler handler) {
    if (!handler) {
        Remove(subscriber);
        return;
    }
    for (auto& e : entries_)
        if (e.subscriber == subscriber) {
            e.handler = std::move(handler);
            return;
        }
    entries_.push_back({subscriber, std::move(handler)});
}

void TNotifyEventList::Remove(const void* subscriber) {
    for (auto& e : entries_)
        if (e.subscriber == subscriber) e.handler = nullptr;
    if (notifying_ == 0)
        std::erase_if(entries_, [](const TEntry& e) { return !e.handler; });
}

std::size_t TNotifyEventList::Count() const {
    return static_cast<std::size_t>(
        std::count_if(entries_.begin(), entries_.end(), [](const TEntry& e) { return static_cast<bool>(e.handler); }));
}

void TNotifyEventList::Notify(TNotifyPersistent& sender) {
    ++notifying_;
    // Subscribers added meanwhile hear from the next change on; the handler is
    // copied because a call may remove (and so destroy) its own entry.
    const std::size_t n = entries_.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (!entries_[i].handler) continue;
        const THandler handler = entries_[i].handler;
        handler(sender);
    }
    if (--notifying_ == 0)
        std::erase_if(entries_, [](const TEntry& e) { return !e.handler; });
}

}  // namespace quodle
