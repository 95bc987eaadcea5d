#pragma once

#include <memory>
#include <utility>

namespace lumivoke {

template <class T>
class WeakAnchor;

/// A weak reference to an object that owns a WeakAnchor. lock() yields null once the object
/// is gone. Everything runs on the main thread, so a non-null result stays valid for the rest
/// of the callback unless the callback itself destroys the object.
///
/// The reference shares a cell with the anchor, which the anchor empties as it goes: lock() is
/// one load, with no atomic count to raise and drop, since it runs on every key event and
/// every display refresh.
template <class T>
class Weak {
public:
    Weak() = default;
    T* lock() const { return cell_ ? *cell_ : nullptr; }
    bool expired() const { return lock() == nullptr; }

private:
    friend class WeakAnchor<T>;
    explicit Weak(std::shared_ptr<T* const> cell) : cell_(std::move(cell)) {}
    std::shared_ptr<T* const> cell_;
};

/// A lifetime sentinel an object keeps as its last member, so that it is destroyed first.
/// Unlike shared_from_this it works inside constructors, where most of our callbacks are
/// registered, and it does not force shared ownership on the owner.
template <class T>
class WeakAnchor {
public:
    explicit WeakAnchor(T* owner) : cell_(std::make_shared<T*>(owner)) {}
    ~WeakAnchor() { *cell_ = nullptr; }
    WeakAnchor(const WeakAnchor&) = delete;
    WeakAnchor& operator=(const WeakAnchor&) = delete;

    Weak<T> weak() const { return Weak<T>(cell_); }

private:
    std::shared_ptr<T*> cell_;
};

/// Ties a callback to its owner: the result calls fn(owner, args...) while the owner lives and
/// does nothing afterwards.
template <class T, class F>
auto bindWeak(Weak<T> owner, F fn) {
    return [owner = std::move(owner), fn = std::move(fn)](auto&&... args) {
        if (T* self = owner.lock()) {
            fn(*self, std::forward<decltype(args)>(args)...);
        }
    };
}

}  // namespace lumivoke
