#include "app/AppVersion.h"

namespace lumivoke {
namespace {

std::string textOrQuestionMark(MainBundle& bundle, const char* key) {
    if (auto value = bundle.infoValue(key)) {
        if (const auto* s = std::get_if<std::string>(&*value)) {
            return *s;
        }
    }
    return "?";
}

}  // namespace

AppVersion AppVersion::read(MainBundle& bundle) {
    return {textOrQuestionMark(bundle, "CFBundleShortVersionString"),
            textOrQuestionMark(bundle, "CFBundleVersion")};
}

}  // namespace lumivoke
