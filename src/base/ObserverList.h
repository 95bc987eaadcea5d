#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "base/MainLoop.h"
#include "base/Token.h"

namespace lumivoke {

/// Callbacks registered with tokens, each token ending its own registration. Notification is
/// safe against every change a callback may make: it may add callbacks (they hear from the next
/// notification on), remove any callback, its own included (a removed callback is not called
/// again, not even later in the same notification), or destroy the list (nobody else is called).
/// A token may outlive its list.
///
/// Some lists are notified for every key press or X event, so notifying allocates nothing and
/// copies no callback: it walks a snapshot that is kept until the list changes.
template <class... Args>
class ObserverList {
public:
    using Callback = std::function<void(Args...)>;

    ObserverList() = default;
    ObserverList(const ObserverList&) = delete;
    ObserverList& operator=(const ObserverList&) = delete;
    ~ObserverList() {
        // A notification in progress holds the entries, not the list: stop it here.
        for (auto& entry : state_->entries) {
            entry->active = false;
        }
    }

    /// Registers callback until the returned token ends.
    Token add(Callback callback) {
        auto entry = std::make_shared<Entry>(std::move(callback));
        state_->entries.push_back(entry);
        state_->snapshot.reset();
        return Token(
            [list = std::weak_ptr<State>(state_), weakEntry = std::weak_ptr<Entry>(entry)] {
                auto e = weakEntry.lock();
                if (!e) {
                    return;
                }
                e->active = false;
                if (auto s = list.lock()) {
                    std::erase(s->entries, e);
                    s->snapshot.reset();
                }
            });
    }

    /// Calls every callback now, in the order they were added.
    void notify(const Args&... args) { notifyState(*state_, args...); }

    /// Calls every callback on a later turn of loop, unless the list is gone by then. The
    /// arguments are copied into the posted work.
    void post(MainLoop& loop, Args... args) {
        loop.post([list = std::weak_ptr<State>(state_), args...] {
            if (auto s = list.lock()) {
                notifyState(*s, args...);
            }
        });
    }

    std::size_t size() const { return state_->entries.size(); }
    bool empty() const { return state_->entries.empty(); }

private:
    struct Entry {
        explicit Entry(Callback c) : callback(std::move(c)) {}
        Callback callback;
        bool active = true;
    };
    using Snapshot = std::vector<std::shared_ptr<Entry>>;
    struct State {
        std::vector<std::shared_ptr<Entry>> entries;
        // The entries as the last notification found them; empty once the list has changed.
        std::shared_ptr<const Snapshot> snapshot;
    };

    static void notifyState(State& s, const Args&... args) {
        if (!s.snapshot) {
            s.snapshot = std::make_shared<const Snapshot>(s.entries);
        }
        // Our own reference keeps every entry (and so the running callback) alive whatever the
        // callbacks do to the list, the list itself included.
        const std::shared_ptr<const Snapshot> snapshot = s.snapshot;
        for (const auto& entry : *snapshot) {
            if (entry->active) {
                entry->callback(args...);
            }
        }
    }

    std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace lumivoke
