#include "settings/SettingsTab.h"

namespace lumivoke {

const char* segmentTitle(SettingsTab tab) {
    switch (tab) {
        case SettingsTab::setup:
            return "Setup";
        case SettingsTab::general:
            return "General";
        case SettingsTab::perAppRules:
            return "Per-App Rules";
    }
    return "";
}

}  // namespace lumivoke
