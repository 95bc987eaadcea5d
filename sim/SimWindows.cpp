#include "SimWindows.h"

#include <algorithm>

namespace lumivoke::sim {

SimWindow::SimWindow(Trace& trace, WindowSettings settings)
    : trace_(trace), settings_(std::move(settings)) {}

SimWindow::~SimWindow() {
    if (live_) {
        std::erase(*live_, this);
    }
}

void SimWindow::center() {
    centered_ = true;
    trace_.add("window " + settings_.name, "center");
}

void SimWindow::makeKeyAndOrderFront() {
    visible_ = true;
    trace_.add("window " + settings_.name, "key-front");
}

void SimWindow::performClose() {
    trace_.add("window " + settings_.name, "close");
    if (delegate_ != nullptr) {
        delegate_->windowWillClose(*this);
    }
    visible_ = false;
}

std::unique_ptr<SimWindow> SimWindowFactory::create(const WindowSettings& settings) {
    auto window = std::make_unique<SimWindow>(trace_, settings);
    window->live_ = live_;
    live_->push_back(window.get());
    trace_.add("window " + settings.name, "created");
    return window;
}

SimWindow* SimWindowFactory::find(const std::string& name) const {
    for (auto* w : *live_) {
        if (w->settings().name == name) {
            return w;
        }
    }
    return nullptr;
}

bool SimWindowFactory::anyVisible() const {
    return std::any_of(live_->begin(), live_->end(), [](SimWindow* w) { return w->isVisible(); });
}

}  // namespace lumivoke::sim
