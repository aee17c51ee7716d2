#pragma once
// Runs a handler for the events of one object before the object sees them;
// the handler returns true to keep an event from it. The hook lives as long
// as the object.
#include <QObject>
#include <functional>

namespace quodle {

class TEventHook final : public QObject {
public:
    TEventHook(QObject* target, std::function<bool(QEvent*)> handler)
        : QObject(target), handler_(std::move(handler)) {
        target->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override { return handler_(event); }

private:
    std::function<bool(QEvent*)> handler_;
};

}  // namespace quodle
