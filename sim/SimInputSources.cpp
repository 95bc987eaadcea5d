#include "SimInputSources.h"

#include <algorithm>

namespace lumivoke::sim {

std::string SimInputSourceSystem::define(std::map<SourceProperty, PropertyValue> properties) {
    auto source = std::make_shared<SimInputSource>();
    auto id = properties.find(SourceProperty::id);
    if (id != properties.end() && std::holds_alternative<std::string>(id->second)) {
        source->key = std::get<std::string>(id->second);
    } else {
        source->key = "source#" + std::to_string(++unnamed_);
    }
    source->properties = std::move(properties);
    entries_.push_back({source, true});
    return source->key;
}

std::shared_ptr<SimInputSource> SimInputSourceSystem::find(const std::string& key) const {
    for (const auto& e : entries_) {
        if (e.source->key == key) {
            return e.source;
        }
    }
    return nullptr;
}

bool SimInputSourceSystem::has(const std::string& key) const {
    return find(key) != nullptr;
}

void SimInputSourceSystem::setCurrent(const std::string& key) {
    current_ = find(key);
}

void SimInputSourceSystem::systemSelect(const std::string& key) {
    current_ = find(key);
    trace_.add("system", "select " + key + " (by another program)");
    selectedObservers_.post(loop_);
}

void SimInputSourceSystem::setEnabled(const std::string& key, bool enabled) {
    for (auto& e : entries_) {
        if (e.source->key == key) {
            e.enabled = enabled;
        }
    }
    trace_.add("system", (enabled ? "enable " : "disable ") + key);
    enabledObservers_.post(loop_);
}

void SimInputSourceSystem::vanish(const std::string& key) {
    std::erase_if(entries_, [&](const Entry& e) { return e.source->key == key; });
}

std::string SimInputSourceSystem::currentKey() const {
    return current_ ? current_->key : "";
}

std::vector<std::string> SimInputSourceSystem::enabledKeys() const {
    std::vector<std::string> keys;
    for (const auto& e : entries_) {
        if (e.enabled) {
            keys.push_back(e.source->key);
        }
    }
    return keys;
}

std::optional<std::vector<InputSourceHandle>> SimInputSourceSystem::enabledSources() {
    if (listUnavailable_) {
        return std::nullopt;
    }
    std::vector<InputSourceHandle> list;
    for (const auto& e : entries_) {
        if (e.enabled) {
            list.push_back(e.source);
        }
    }
    return list;
}

std::optional<PropertyValue> SimInputSourceSystem::property(const InputSourceHandle& source,
                                                            SourceProperty which) {
    const auto* sim = dynamic_cast<const SimInputSource*>(source.get());
    if (sim == nullptr) {
        return std::nullopt;
    }
    auto it = sim->properties.find(which);
    if (it == sim->properties.end()) {
        return std::nullopt;
    }
    return it->second;
}

InputSourceHandle SimInputSourceSystem::currentKeyboardSource() {
    return current_;
}

std::int32_t SimInputSourceSystem::select(const InputSourceHandle& source) {
    const auto* sim = dynamic_cast<const SimInputSource*>(source.get());
    if (sim == nullptr || refused_.contains(sim->key)) {
        return -50;
    }
    current_ = find(sim->key);
    trace_.add("system", "select " + sim->key);
    selectedObservers_.post(loop_);
    return 0;
}

Token SimInputSourceSystem::observeSelectedSourceChanged(std::function<void()> callback) {
    return selectedObservers_.add(std::move(callback));
}

Token SimInputSourceSystem::observeEnabledSourcesChanged(std::function<void()> callback) {
    return enabledObservers_.add(std::move(callback));
}

}  // namespace lumivoke::sim
