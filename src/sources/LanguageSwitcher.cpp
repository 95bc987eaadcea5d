#include "sources/LanguageSwitcher.h"

namespace lumivoke {

LanguageSwitcher::LanguageSwitcher(InputSourceSystem& system, KeyboardHardware& keyboard,
                                   LogSink& sink)
    : service(system, keyboard, sink) {
    sources.set(service.listSources());
    refreshCurrent();
    observerTokens_.push_back(system.observeSelectedSourceChanged(
        bindWeak(anchor_.weak(), [](LanguageSwitcher& self) { self.refreshCurrent(); })));
    observerTokens_.push_back(system.observeEnabledSourcesChanged(
        bindWeak(anchor_.weak(), [](LanguageSwitcher& self) { self.reloadSources(); })));
}

void LanguageSwitcher::refreshCurrent() {
    InputSourceSystem& system = service.system();
    auto handle = system.currentKeyboardSource();
    if (handle) {
        currentSource.set(InputSource::fromSystem(system, handle));
    } else {
        currentSource.set(std::nullopt);
    }
}

void LanguageSwitcher::reloadSources() {
    sources.set(service.listSources());
    refreshCurrent();
}

std::optional<InputSource> LanguageSwitcher::selectNext() {
    const auto& list = sources.value();
    if (list.size() < 2) {
        return std::nullopt;
    }
    std::size_t candidate = 0;
    if (const auto& current = currentSource.value()) {
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (list[i].id == current->id) {
                candidate = i + 1;
                break;
            }
        }
    }
    InputSource target = list[candidate % list.size()];
    if (!service.select(target)) {
        return std::nullopt;
    }
    currentSource.set(target);
    return target;
}

}  // namespace lumivoke
