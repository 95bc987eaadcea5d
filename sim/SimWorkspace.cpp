#include "SimWorkspace.h"

#include <cctype>
#include <stdexcept>
#include <utility>

namespace lumivoke::sim {
namespace {

// The size the workspace hands icons out at, before the application resizes them.
constexpr Size kIconSize{32, 32};

}  // namespace

SimWorkspace::SimWorkspace(MainLoop& loop, Trace& trace) : loop_(loop), trace_(trace) {
    running_[kSelfKey] = RunningApplication{kSelfProcessIdentifier, kSelfBundleIdentifier};
}

void SimWorkspace::addRunning(const std::string& key, RunningApplication app) {
    running_[key] = std::move(app);
}

void SimWorkspace::setFrontmost(const std::string& key) {
    if (!key.empty() && !running_.contains(key)) {
        throw std::invalid_argument("no running application " + key);
    }
    if (key == kSelfKey && frontmost_ != kSelfKey) {
        beforeSelf_ = frontmost_;
    }
    frontmost_ = key;
}

void SimWorkspace::activateSelf() {
    if (frontmost_ != kSelfKey) {
        activate(kSelfKey);
    }
}

void SimWorkspace::resignSelf() {
    if (frontmost_ != kSelfKey) {
        return;
    }
    const std::string previous = std::exchange(beforeSelf_, "");
    if (!previous.empty() && running_.contains(previous)) {
        activate(previous);
    } else {
        frontmost_.clear();
    }
}

void SimWorkspace::activate(const std::string& key) {
    setFrontmost(key);
    const RunningApplication app = running_.at(key);
    trace_.add("workspace", "activate " + app.bundleIdentifier.value_or(
                                              "pid " + std::to_string(app.processIdentifier)));
    activation_.post(loop_, app);
}

void SimWorkspace::postActivationWithoutApplication() {
    trace_.add("workspace", "activate (no application)");
    activation_.post(loop_, std::nullopt);
}

void SimWorkspace::changeSpace() {
    trace_.add("workspace", "space-change");
    spaceChange_.post(loop_);
}

void SimWorkspace::install(const std::string& bundleID, const std::string& path,
                           const std::string& icon) {
    locations[bundleID] = path;
    icons[path] = icon;
}

std::optional<RunningApplication> SimWorkspace::frontmostApplication() {
    if (frontmost_.empty()) {
        return std::nullopt;
    }
    return running_.at(frontmost_);
}

RunningApplication SimWorkspace::currentApplication() {
    return running_.at(kSelfKey);
}

std::optional<std::string> SimWorkspace::urlForApplication(const std::string& bundleIdentifier) {
    // Like the real system, ignore the letter case of the identifier.
    auto lower = [](std::string text) {
        for (char& c : text) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        return text;
    };
    if (auto it = locations.find(bundleIdentifier); it != locations.end()) {
        return it->second;
    }
    const std::string wanted = lower(bundleIdentifier);
    for (const auto& [id, path] : locations) {
        if (lower(id) == wanted) {
            return path;
        }
    }
    return std::nullopt;
}

Image SimWorkspace::iconForFile(const std::string& path) {
    auto it = icons.find(path);
    return Image{it == icons.end() ? "document" : it->second, kIconSize};
}

Image SimWorkspace::genericApplicationIcon() {
    return Image{"generic-application", kIconSize};
}

Token SimWorkspace::observeDidActivateApplication(
    std::function<void(const std::optional<RunningApplication>&)> callback) {
    return activation_.add(std::move(callback));
}

Token SimWorkspace::observeActiveSpaceDidChange(std::function<void()> callback) {
    return spaceChange_.add(std::move(callback));
}

}  // namespace lumivoke::sim
