#include "TriggerKeySetting.h"

namespace lumivoke::desktop {

TriggerKeySetting::TriggerKeySetting(UserDefaults& defaults, MainLoop& loop, LogSink& sink,
                                     Apply apply)
    : log_(sink, "TriggerKey"), defaults_(defaults), loop_(loop), apply_(std::move(apply)) {}

void TriggerKeySetting::start() {
    if (started_) {
        return;
    }
    started_ = true;
    if (override_ != nullptr) {
        use(*override_, "the command line");
    } else {
        use(storedChoice(), "the settings");
    }
    // Whoever changes the stored key (this class's select() or anyone else) changes the key in
    // effect, the command line's included.
    storedObserver_ = defaults_.observe(TriggerKeys::defaultsKey,
                                        bindWeak(anchor_.weak(), [](TriggerKeySetting& self) {
                                            self.override_ = nullptr;
                                            const TriggerChoice& stored = self.storedChoice();
                                            if (&stored != self.current_) {
                                                self.use(stored, "the settings");
                                            }
                                        }));
}

const TriggerChoice& TriggerKeySetting::storedChoice() {
    const auto value = defaults_.object(TriggerKeys::defaultsKey);
    if (!value) {
        reportedUnknown_.reset();
        return defaultTriggerChoice();
    }
    const auto* text = std::get_if<std::string>(&*value);
    if (text != nullptr) {
        if (const TriggerChoice* choice = findTriggerChoice(*text)) {
            reportedUnknown_.reset();
            return *choice;
        }
    }
    // Left as it is: a later version may know the key, and the user may mend a typing error.
    const std::string shown = text != nullptr ? "\"" + *text + "\"" : "(not text)";
    if (reportedUnknown_ != shown) {
        reportedUnknown_ = shown;
        log_.error("stored TriggerKey %{public}s is not one of %{public}s; using %{public}s", shown,
                   triggerIdentifiers(), defaultTriggerChoice().identifier);
    }
    return defaultTriggerChoice();
}

void TriggerKeySetting::use(const TriggerChoice& choice, const char* source) {
    current_ = &choice;
    log_.info("trigger key %{public}s (%{public}s) from %{public}s", choice.identifier,
              choice.label, source);
    if (apply_) {
        apply_(choice);
    }
    observers_.post(loop_);
}

std::vector<TriggerKeyOption> TriggerKeySetting::options() {
    std::vector<TriggerKeyOption> list;
    for (const auto& choice : triggerChoices()) {
        list.push_back({std::string(choice.identifier), std::string(choice.label)});
    }
    return list;
}

bool TriggerKeySetting::select(const std::string& identifier) {
    const TriggerChoice* choice = findTriggerChoice(identifier);
    if (choice == nullptr) {
        return false;
    }
    override_ = nullptr;
    defaults_.set(TriggerKeys::defaultsKey, std::string(choice->identifier));
    if (choice != current_) {
        use(*choice, "the settings");
    }
    return true;
}

Token TriggerKeySetting::observe(std::function<void()> callback) {
    return observers_.add(std::move(callback));
}

}  // namespace lumivoke::desktop
