#include <string>
#include <vector>

#include "OpenSettingsWindow.h"
#include "Simulator.h"
#include "settings/SettingsWindowController.h"

// The settings window as trace lines: what "print settings" shows of the visible tab, and what
// a new window traces as it changes tab or scrolls.
namespace lumivoke::sim {
namespace {

const char* onOff(bool on) {
    return on ? "on" : "off";
}

void printSetup(Trace& trace, SetupView& view) {
    trace.add("settings", view.headingText());
    trace.add("settings", view.subheadingText());
    for (const auto& row : view.rows()) {
        trace.add("settings",
                  "row " + quoted(row.title) + " " + row.statusSymbol() + " " + row.statusColor());
        trace.add("settings", "  " + row.explanation);
        if (row.showsIllustration()) {
            trace.add("settings", "  illustration " + row.illustration);
        }
        if (row.button) {
            trace.add("settings", "  button " + quoted(row.button->title));
        }
    }
}

/// A form as the view gives it: each section's header, then its rows, indented under a header;
/// a control's explanation follows it.
void printForm(Trace& trace, const std::vector<FormSection>& sections) {
    for (const auto& section : sections) {
        std::string indent;
        if (section.header) {
            trace.add("settings", "section " + quoted(*section.header));
            indent = "  ";
        }
        for (const auto& row : section.rows) {
            const std::optional<std::string>* caption = nullptr;
            if (const auto* toggle = std::get_if<ToggleControl>(&row)) {
                trace.add("settings", indent + "toggle " + quoted(toggle->label) + " " +
                                          onOff(toggle->isOn) +
                                          (toggle->isEnabled ? "" : " disabled"));
                caption = &toggle->caption;
            } else if (const auto* picker = std::get_if<PickerControl>(&row)) {
                std::string line = indent + "picker " + quoted(picker->label);
                for (const auto& option : picker->options) {
                    const bool chosen = picker->selected == option.identifier;
                    line += " " + std::string(chosen ? "[" : "") + option.identifier + "=" +
                            quoted(option.label) + (chosen ? "]" : "");
                }
                trace.add("settings", line + (picker->isEnabled ? "" : " disabled"));
                caption = &picker->caption;
            }
            if (caption != nullptr && caption->has_value()) {
                trace.add("settings", indent + "caption " + quoted(**caption));
            }
        }
    }
}

void printRulesTab(Trace& trace, PerAppRulesView& view) {
    printForm(trace, view.form());
    auto header = [&](SortColumn column) {
        std::string out = quoted(view.headerTitle(column));
        if (auto chevron = view.headerChevron(column)) {
            out += " " + *chevron;
        }
        return out;
    };
    trace.add("settings",
              "header " + header(SortColumn::appName) + " | " + header(SortColumn::source));
    const auto rows = view.sortedRows();
    trace.add("settings", std::string("list ") + (view.isTableEnabled() ? "enabled" : "disabled") +
                              ", " + std::to_string(rows.size()) + " row(s)");
    for (const auto& row : rows) {
        const auto chosen = row.chosenSource();
        std::string line = "row " + row.row.bundleID + " " + quoted(row.row.displayName) +
                           " icon=" + (row.row.icon ? row.row.icon->name : "none") +
                           " source=" + (chosen ? quoted(chosen->name) : "none") + " (" +
                           row.selectedSourceID() + ")";
        if (view.selection() == row.row.bundleID) {
            line += " selected";
        }
        trace.add("settings", line);
    }
    for (const auto& button : view.buttons()) {
        trace.add("settings", "button " + button.symbol.value_or("") + " " + quoted(button.title) +
                                  (button.isEnabled ? "" : " disabled"));
    }
}

void printSettings(Simulator& s) {
    auto& trace = s.machine().trace;
    auto* controller = s.requireApp().settingsControllerIfCreated();
    if (controller == nullptr || controller->window() == nullptr) {
        trace.add("settings", "no window");
        return;
    }
    auto* window = s.machine().windows.find("Settings");
    std::string head = "window";
    if (window != nullptr) {
        const auto& w = window->settings();
        head += " " + quoted(w.title) + " style=" + std::to_string(w.styleMask) +
                " behavior=" + std::to_string(w.collectionBehavior) +
                " size=" + formatSize(w.contentSize) +
                (w.releasedWhenClosed ? " released-when-closed" : "");
    }
    head += controller->window()->isVisible() ? " open" : " closed";
    trace.add("settings", head);
    if (!controller->window()->isVisible()) {
        return;
    }
    auto& view = *controller->rootView();
    std::string segments = "segments";
    for (auto tab : SettingsView::segments) {
        const std::string title = view.segmentText(tab);
        segments += " " + (tab == *view.visibleTab ? "[" + title + "]" : title);
    }
    trace.add("settings", segments);
    if (auto* setup = view.setupView()) {
        printSetup(trace, *setup);
    } else if (auto* general = view.generalView()) {
        printForm(trace, general->sections());
    } else if (auto* rules = view.perAppRulesView()) {
        printRulesTab(trace, *rules);
    }
    trace.add("settings", "version " + quoted(view.versionLine()));
}

}  // namespace

void traceSettingsView(Simulator& s, SettingsView& view) {
    Trace& trace = s.machine().trace;
    s.viewTokens.push_back(view.visibleTab.subscribe(
        [&trace](SettingsTab tab) { trace.add("settings", std::string("tab ") + tabName(tab)); }));
    // As a port draws: the visible tab of the open window, each time its view says it changed.
    // A hidden tab is drawn when it is shown, which the "tab" line stands for.
    auto redraws = [&trace, &view](SettingsTab tab) {
        return [&trace, &view, tab] {
            if (!view.isShown() || *view.visibleTab != tab) {
                return false;
            }
            trace.add("settings", std::string("redraw ") + tabName(tab));
            return true;
        };
    };
    s.viewTokens.push_back(
        view.setup().observe([drawn = redraws(SettingsTab::setup)] { (void)drawn(); }));
    s.viewTokens.push_back(
        view.general().observe([drawn = redraws(SettingsTab::general)] { (void)drawn(); }));
    s.viewTokens.push_back(
        view.perAppRules().observe([&trace, &view, drawn = redraws(SettingsTab::perAppRules)] {
            if (!drawn()) {
                return;
            }
            if (const auto bundleID = view.perAppRules().takePendingScroll()) {
                trace.add("rules", "scroll-to " + *bundleID);
            }
        }));
}

Action settingsPrinter() {
    return [](Simulator& s) { printSettings(s); };
}

}  // namespace lumivoke::sim
