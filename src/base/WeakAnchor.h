#pragma once

#include <memory>
#include <utility>

namespace lumivoke {

template <class T>
class WeakAnchor;

/// A weak reference to an object that owns a WeakAnchor. lock() yields null once the object
/// is gone. Everything runs on the main thread, so a non-null result stays valid for the rest
/// of the callback unless the callback itself destroys the object.
template <class T>
class Weak {
public:
    Weak() = default;
    T* lock() const {
        auto cell = cell_.lock();
        return cell ? *cell : nullptr;
    }
    bool expired() const { return cell_.expired(); }

private:
    friend class WeakAnchor<T>;
    explicit Weak(std::weak_ptr<T*> cell) : cell_(std::move(cell)) {}
    std::weak_ptr<T*> cell_;
};

/// A lifetime sentinel an object keeps as its last member, so that it is destroyed first.
/// Unlike shared_from_this it works inside constructors, where most of our callbacks are
/// registered, and it does not force shared ownership on the owner.
template <class T>
class WeakAnchor {
public:
    explicit WeakAnchor(T* owner) : cell_(std::make_shared<T*>(owner)) {}
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
