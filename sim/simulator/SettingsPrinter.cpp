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
    trace.add("settings", SetupView::heading);
    trace.add("settings", SetupView::subheading);
    for (const auto& row : view.rows()) {
        trace.add("settings",
                  "row " + quoted(row.title) + " " + row.statusSymbol() + " " + row.statusColor());
        trace.add("settings", "  " + row.explanation);
        if (row.showsIllustration()) {
            trace.add("settings", "  illustration " + row.illustration);
        }
        if (row.showsButton()) {
            trace.add("settings", "  button " + quoted(row.buttonTitle));
        }
    }
}

/// A form as the view gives it: each section's header, then its rows, indented under a header.
void printForm(Trace& trace, const std::vector<FormSection>& sections) {
    for (const auto& section : sections) {
        std::string indent;
        if (section.header) {
            trace.add("settings", "section " + quoted(*section.header));
            indent = "  ";
        }
        for (const auto& row : section.rows) {
            if (const auto* toggle = std::get_if<ToggleControl>(&row)) {
                trace.add("settings", indent + "toggle " + quoted(toggle->label) + " " +
                                          onOff(toggle->isOn) +
                                          (toggle->isEnabled ? "" : " disabled"));
            } else if (const auto* caption = std::get_if<CaptionText>(&row)) {
                trace.add("settings", indent + "caption " + quoted(caption->text));
            }
        }
    }
}

void printRulesTab(Trace& trace, PerAppRulesView& view) {
    printForm(trace, view.form());
    auto header = [&](const char* title, SortColumn column) {
        std::string out = quoted(title);
        if (auto chevron = view.headerChevron(column)) {
            out += " " + *chevron;
        }
        return out;
    };
    trace.add("settings", "header " +
                              header(PerAppRulesView::applicationHeader, SortColumn::appName) +
                              " | " + header(PerAppRulesView::sourceHeader, SortColumn::source));
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
        const std::string title = segmentTitle(tab);
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
    view.onScrollToRule = [&trace](const std::string& bundleID) {
        trace.add("rules", "scroll-to " + bundleID);
    };
}

Action settingsPrinter() {
    return [](Simulator& s) { printSettings(s); };
}

}  // namespace lumivoke::sim
