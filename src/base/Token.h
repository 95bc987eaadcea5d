#pragma once

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace lumivoke {

/// An owned registration: a subscription, an observer, a timer or a task. Destroying the token
/// (or calling cancel()) ends the registration; an empty token stands for "none".
class [[nodiscard]] Token {
public:
    Token() = default;
    explicit Token(std::function<void()> onCancel) : onCancel_(std::move(onCancel)) {}
    Token(const Token&) = delete;
    Token& operator=(const Token&) = delete;
    Token(Token&& other) noexcept : onCancel_(std::exchange(other.onCancel_, nullptr)) {}
    Token& operator=(Token&& other) noexcept {
        if (this != &other) {
            cancel();
            onCancel_ = std::exchange(other.onCancel_, nullptr);
        }
        return *this;
    }
    ~Token() { cancel(); }

    /// Ends the registration; calling it again does nothing.
    void cancel() {
        if (auto fn = std::exchange(onCancel_, nullptr)) {
            fn();
        }
    }

    /// True while the token still holds a registration.
    explicit operator bool() const { return static_cast<bool>(onCancel_); }

private:
    std::function<void()> onCancel_;
};

/// One token for several registrations: ending it ends them all.
inline Token joinTokens(std::vector<Token> tokens) {
    auto held = std::make_shared<std::vector<Token>>(std::move(tokens));
    return Token([held] { held->clear(); });
}

}  // namespace lumivoke
