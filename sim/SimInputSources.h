#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "Trace.h"
#include "base/MainLoop.h"
#include "base/ObserverList.h"
#include "platform/InputSourceSystem.h"

namespace lumivoke::sim {

/// One input source of the simulated system, with whatever properties the scenario gave it.
class SimInputSource final : public SystemInputSource {
public:
    std::string key;  ///< how scenarios name it: its id, or "source#N" without one
    std::map<SourceProperty, PropertyValue> properties;
};

/// The simulated system's input sources: an ordered list of defined sources, each enabled or
/// not, a current source, and the two change notifications, posted on a later turn.
class SimInputSourceSystem final : public InputSourceSystem {
public:
    SimInputSourceSystem(MainLoop& loop, Trace& trace) : loop_(loop), trace_(trace) {}

    // The scenario's controls.
    /// Defines an enabled source; returns its key.
    std::string define(std::map<SourceProperty, PropertyValue> properties);
    bool has(const std::string& key) const;
    /// Makes key current without any notification (machine set-up).
    void setCurrent(const std::string& key);
    /// Another program selects key: it becomes current and the notification follows.
    void systemSelect(const std::string& key);
    /// Enables or disables key and posts the enabled-sources notification.
    void setEnabled(const std::string& key, bool enabled);
    /// The system will refuse to select key with status -50.
    void failSelection(const std::string& key) { refused_.insert(key); }
    /// key disappears from the system without any notification.
    void vanish(const std::string& key);
    /// The system gives no list at all (or a list again).
    void setListUnavailable(bool unavailable) { listUnavailable_ = unavailable; }
    /// The key of the current source, or "" for none.
    std::string currentKey() const;
    /// Keys of the enabled sources in order.
    std::vector<std::string> enabledKeys() const;
    /// Registrations for the two notifications.
    std::size_t observerCount() const {
        return selectedObservers_.size() + enabledObservers_.size();
    }

    std::optional<std::vector<InputSourceHandle>> enabledSources() override;
    std::optional<PropertyValue> property(const InputSourceHandle& source,
                                          SourceProperty which) override;
    InputSourceHandle currentKeyboardSource() override;
    std::int32_t select(const InputSourceHandle& source) override;
    Token observeSelectedSourceChanged(std::function<void()> callback) override;
    Token observeEnabledSourcesChanged(std::function<void()> callback) override;

private:
    struct Entry {
        std::shared_ptr<SimInputSource> source;
        bool enabled = true;
    };

    std::shared_ptr<SimInputSource> find(const std::string& key) const;

    MainLoop& loop_;
    Trace& trace_;
    std::vector<Entry> entries_;
    std::shared_ptr<SimInputSource> current_;
    std::set<std::string> refused_;
    bool listUnavailable_ = false;
    ObserverList<> selectedObservers_;
    ObserverList<> enabledObservers_;
    int unnamed_ = 0;
};

}  // namespace lumivoke::sim
