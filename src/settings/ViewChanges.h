#pragma once

#include <functional>
#include <utility>

#include "base/ObserverList.h"
#include "base/Token.h"

namespace lumivoke {

/// How a settings tab's view tells whoever draws it that what it shows may have changed, so
/// that nobody polls it or compares it with an earlier drawing. A view notifies for every change
/// of a value it reads and for every action of its own, also when that action ends where it
/// began (a switch flipped on and set back off after a failure): the drawing may have moved with
/// the person's click, so it must be drawn again. An action that touches several values notifies
/// once, at its end, so that a port draws each action once.
class ViewChanges {
public:
    ViewChanges() = default;
    ViewChanges(const ViewChanges&) = delete;
    ViewChanges& operator=(const ViewChanges&) = delete;

    /// Calls callback synchronously after each change, until the token ends.
    Token observe(std::function<void()> callback) { return observers_.add(std::move(callback)); }

    /// Something the view shows has changed: tell the observers now, or at the end of the batch
    /// in progress.
    void notify() {
        if (depth_ > 0) {
            isPending_ = true;
            return;
        }
        observers_.notify();
    }

    /// While one lives, changes are gathered into one notification at its end.
    class [[nodiscard]] Batch {
    public:
        explicit Batch(ViewChanges& changes) : changes_(changes) { ++changes_.depth_; }
        ~Batch() {
            if (--changes_.depth_ == 0 && changes_.isPending_) {
                changes_.isPending_ = false;
                changes_.observers_.notify();
            }
        }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        ViewChanges& changes_;
    };

    Batch batch() { return Batch(*this); }

private:
    ObserverList<> observers_;
    int depth_ = 0;
    bool isPending_ = false;
};

}  // namespace lumivoke
