#pragma once
// Settings objects that report their own changes (colours, caret options,
// marks, margins, wrap options), and the list through which a component fans
// changes out to every subscriber.
#include <cstddef>
#include <functional>
#include <vector>

namespace quodle {

class TNotifyPersistent {
public:
    using TChangeHandler = std::function<void(TNotifyPersistent& sender)>;

    TNotifyPersistent(const TNotifyPersistent&) = delete;
    TNotifyPersistent& operator=(const TNotifyPersistent&) = delete;
    virtual ~TNotifyPersistent() = default;

    void SetOnChange(TChangeHandler handler) { onChange_ = std::move(handler); }

    // Update blocks nest; a change inside one is reported once, with this
    // object as sender, when the outermost block ends.
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    bool Updating() const { return updateCount_ > 0; }

protected:
    TNotifyPersistent() = default;

    void Changed() { Changed(*this); }
    // Reports a change of this object or of a part of it (sender).
    void Changed(TNotifyPersistent& sender);
    // Where a change goes once it is due; the default calls the handler.
    virtual void DoChange(TNotifyPersistent& sender);

private:
    TChangeHandler onChange_;
    int updateCount_ = 0;
    bool pending_ = false;
};

// (subscriber, handler) pairs. A subscriber may unsubscribe itself or others
// from inside a notification: removed entries are skipped, never called.
class TNotifyEventList {
public:
    using THandler = std::function<void(TNotifyPersistent& sender)>;

    // Subscribing again under the same subscriber replaces its handler; an
    // empty handler unsubscribes.
    void Add(const void* subscriber, THandler handler);
    void Remove(const void* subscriber);
    std::size_t Count() const;
    void Notify(TNotifyPersistent& sender);

private:
    struct TEntry {
        const void* subscriber;
        THandler handler;
    };
    std::vector<TEntry> entries_;
    int notifying_ = 0;
};

}  // namespace quodle
