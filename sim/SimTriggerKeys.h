#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/ObserverList.h"
#include "platform/TriggerKeys.h"

namespace lumivoke::sim {

/// A trigger-key choice for a simulated platform that offers one (the simulated system itself
/// does not: it has the Globe key). Each selection of a known key is told at once; the
/// selections are counted.
class SimTriggerKeys final : public TriggerKeys {
public:
    SimTriggerKeys(std::vector<TriggerKeyOption> options, std::string current)
        : options_(std::move(options)), current_(std::move(current)) {}

    std::vector<TriggerKeyOption> options() override { return options_; }
    std::string current() override { return current_; }
    bool select(const std::string& identifier) override {
        ++selections;
        const bool known = std::ranges::any_of(
            options_, [&](const TriggerKeyOption& o) { return o.identifier == identifier; });
        if (!known) {
            return false;
        }
        current_ = identifier;
        observers_.notify();
        return true;
    }
    Token observe(std::function<void()> callback) override {
        return observers_.add(std::move(callback));
    }

    int selections = 0;

private:
    std::vector<TriggerKeyOption> options_;
    std::string current_;
    ObserverList<> observers_;
};

}  // namespace lumivoke::sim
