#pragma once

#include <map>
#include <string>

#include "Trace.h"
#include "base/ObserverList.h"
#include "platform/Bundles.h"
#include "platform/UserDefaults.h"

namespace lumivoke::sim {

/// The simulated defaults database of the application's domain. It survives a restart of the
/// application; registrations do not, as on the real system.
class SimDefaults final : public UserDefaults {
public:
    SimDefaults(MainLoop& loop, Trace& trace) : loop_(loop), trace_(trace) {}

    /// Stores a value without tracing, as a scenario's machine set-up.
    void plant(const std::string& key, DefaultsValue value) { stored_[key] = std::move(value); }
    /// Forgets registrations, as a new process starts without them.
    void forgetRegistrations() { registered_.clear(); }
    const std::map<std::string, DefaultsValue>& stored() const { return stored_; }
    /// Registrations for changes, over every key.
    std::size_t observerCount() const {
        std::size_t n = 0;
        for (const auto& [key, list] : observers_) {
            n += list.size();
        }
        return n;
    }

    void registerDefaults(const std::vector<std::pair<std::string, DefaultsValue>>& v) override;
    std::optional<DefaultsValue> object(const std::string& key) override;
    void set(const std::string& key, DefaultsValue value) override;
    Token observe(const std::string& key, std::function<void()> callback) override;

private:
    MainLoop& loop_;
    Trace& trace_;
    std::map<std::string, DefaultsValue> stored_;
    std::map<std::string, DefaultsValue> registered_;
    std::map<std::string, ObserverList<>> observers_;
};

/// A defaults value as traces print it: true/false, int 5, real 0.5, string "x", data BYTES.
std::string formatDefaultsValue(const DefaultsValue& value);

/// The simulated main bundle's information values.
class SimBundle final : public MainBundle {
public:
    std::map<std::string, InfoValue> values;
    std::optional<InfoValue> infoValue(const std::string& key) override {
        auto it = values.find(key);
        return it == values.end() ? std::nullopt : std::optional<InfoValue>(it->second);
    }
};

}  // namespace lumivoke::sim
