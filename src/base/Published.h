#pragma once

#include <concepts>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "base/MainLoop.h"
#include "base/Token.h"

namespace lumivoke {

/// When a published value tells its subscribers about an assignment.
enum class Notify {
    onEveryAssignment,  ///< every assignment, also of an equal value
    onChange,           ///< only when the new value differs from the old one
};

/// An observable value. Subscribing returns a token; the subscription lasts while the token
/// does, and a token outliving the value is harmless. The first delivery of a subscription is
/// the value current when it was made. Delivery is either synchronous or moved onto a later
/// main-loop turn; a later-turn delivery carries the value of its own assignment and is dropped
/// if the subscription ended in the meantime.
template <class T>
class Published {
public:
    using Callback = std::function<void(const T&)>;

    explicit Published(T initial = T{}, Notify notify = Notify::onEveryAssignment)
        : value_(std::move(initial)), notify_(notify), subscribers_(std::make_shared<List>()) {}
    Published(const Published&) = delete;
    Published& operator=(const Published&) = delete;
    ~Published() {
        for (auto& s : subscribers_->entries) {
            s->active = false;
        }
    }

    const T& value() const { return value_; }
    const T& operator*() const { return value_; }
    const T* operator->() const { return &value_; }

    /// Assigns and notifies as the value's policy says.
    void set(T newValue) {
        if constexpr (std::equality_comparable<T>) {
            if (notify_ == Notify::onChange && newValue == value_) {
                return;
            }
        }
        value_ = std::move(newValue);
        // Notify from a snapshot: callbacks may subscribe or unsubscribe while we deliver.
        auto snapshot = subscribers_->entries;
        const T delivered = value_;
        for (auto& s : snapshot) {
            if (s->active) {
                s->deliver(delivered);
            }
        }
    }

    /// Subscribes with synchronous delivery; cb runs at once with the current value.
    // Subscribing does not change the value: a reader holding it as const may subscribe.
    Token subscribe(Callback cb) const {
        return add([cb = std::move(cb)](const T& v) { cb(v); }, nullptr);
    }

    /// Subscribes with delivery on a later turn of loop, beginning with the current value.
    Token subscribe(MainLoop& loop, Callback cb) const { return add(std::move(cb), &loop); }

    /// Calls cb synchronously after each assignment that notifies, from now on: for someone who
    /// reads the value when told, and already knows the current one.
    Token observe(std::function<void()> cb) const {
        return add([cb = std::move(cb)](const T&) { cb(); }, nullptr, false);
    }

    std::size_t subscriberCount() const { return subscribers_->entries.size(); }

private:
    struct Entry : std::enable_shared_from_this<Entry> {
        std::function<void(const T&)> callback;
        MainLoop* loop = nullptr;
        bool active = true;

        void deliver(const T& v) {
            if (loop == nullptr) {
                callback(v);
                return;
            }
            std::weak_ptr<Entry> weak = this->shared_from_this();
            loop->post([weak, v] {
                if (auto e = weak.lock(); e && e->active) {
                    e->callback(v);
                }
            });
        }
    };
    struct List {
        std::vector<std::shared_ptr<Entry>> entries;
    };

    Token add(std::function<void(const T&)> cb, MainLoop* loop, bool deliverCurrent = true) const {
        auto entry = std::make_shared<Entry>();
        entry->callback = std::move(cb);
        entry->loop = loop;
        subscribers_->entries.push_back(entry);
        std::weak_ptr<List> list = subscribers_;
        std::weak_ptr<Entry> weakEntry = entry;
        Token token([list, weakEntry] {
            auto l = list.lock();
            auto e = weakEntry.lock();
            if (!e) {
                return;
            }
            e->active = false;
            if (l) {
                std::erase(l->entries, e);
            }
        });
        if (deliverCurrent) {
            entry->deliver(value_);
        }
        return token;
    }

    T value_;
    Notify notify_;
    std::shared_ptr<List> subscribers_;
};

}  // namespace lumivoke
