#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "base/MainLoop.h"
#include "base/Token.h"

namespace lumivoke::sim {

/// Callbacks registered with tokens, notified from a snapshot so that a callback may add or
/// remove others (a removed one is not called). The list may die before its tokens.
template <class... Args>
class ObserverList {
public:
    using Callback = std::function<void(Args...)>;

    Token add(Callback callback) {
        const auto id = state_->next++;
        state_->callbacks[id] = std::move(callback);
        std::weak_ptr<State> weak = state_;
        return Token([weak, id] {
            if (auto s = weak.lock()) {
                s->callbacks.erase(id);
            }
        });
    }

    /// Calls every callback now.
    void notify(Args... args) { notifyState(state_, args...); }

    /// Calls every callback on a later turn of loop.
    void post(MainLoop& loop, Args... args) {
        std::weak_ptr<State> weak = state_;
        loop.post([weak, args...] {
            if (auto s = weak.lock()) {
                notifyState(s, args...);
            }
        });
    }

    std::size_t size() const { return state_->callbacks.size(); }

private:
    struct State {
        std::map<std::uint64_t, Callback> callbacks;
        std::uint64_t next = 1;
    };

    static void notifyState(const std::shared_ptr<State>& s, const Args&... args) {
        std::vector<std::uint64_t> ids;
        for (const auto& entry : s->callbacks) {
            ids.push_back(entry.first);
        }
        for (auto id : ids) {
            auto it = s->callbacks.find(id);
            if (it != s->callbacks.end()) {
                auto callback = it->second;
                callback(args...);
            }
        }
    }

    std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace lumivoke::sim
