#include "Scenario.h"

#include <charconv>
#include <cmath>
#include <set>

namespace lumivoke::sim {

std::vector<Word> splitWords(const std::string& line) {
    std::vector<Word> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == '#' && !inWord) {
            break;
        }
        if (c == ' ' || c == '\t' || c == '\r') {
            if (inWord) {
                words.push_back({word, quoted});
                word.clear();
                inWord = false;
            }
            ++i;
            continue;
        }
        if (!inWord) {
            quoted = c == '"' || c == '\'';
        }
        inWord = true;
        if (c == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                if (line[i] == '\\' && i + 1 < line.size() &&
                    (line[i + 1] == '"' || line[i + 1] == '\\')) {
                    word += line[i + 1];
                    i += 2;
                } else if (line[i] == '"') {
                    closed = true;
                    ++i;
                    break;
                } else {
                    word += line[i++];
                }
            }
            if (!closed) {
                throw ScenarioError("unterminated double quote");
            }
        } else if (c == '\'') {
            const auto close = line.find('\'', i + 1);
            if (close == std::string::npos) {
                throw ScenarioError("unterminated single quote");
            }
            word += line.substr(i + 1, close - i - 1);
            i = close + 1;
        } else {
            word += c;
            ++i;
        }
    }
    if (inWord) {
        words.push_back({word, quoted});
    }
    return words;
}

Args::Args(std::vector<Word> words) {
    for (auto& word : words) {
        const std::string& w = word.text;
        const auto eq = w.find('=');
        // KEY=VALUE with a plain lower-case key; a quoted word is always positional.
        if (!word.quoted && eq != std::string::npos && eq > 0 &&
            w.find_first_not_of("abcdefghijklmnopqrstuvwxyz-") >= eq) {
            if (options_.contains(w.substr(0, eq))) {
                throw ScenarioError("option \"" + w.substr(0, eq) + "\" given twice");
            }
            options_[w.substr(0, eq)] = w.substr(eq + 1);
        } else {
            positional_.push_back(w);
        }
    }
}

const std::string& Args::at(std::size_t i, const char* what) const {
    if (i >= positional_.size()) {
        throw ScenarioError(std::string("missing ") + what);
    }
    return positional_[i];
}

std::optional<std::string> Args::optionalAt(std::size_t i) const {
    if (i >= positional_.size()) {
        return std::nullopt;
    }
    return positional_[i];
}

std::optional<std::string> Args::option(const std::string& key) const {
    auto it = options_.find(key);
    return it == options_.end() ? std::nullopt : std::optional<std::string>(it->second);
}

void Args::expectOnly(std::size_t maxPositional, const std::vector<std::string>& allowed) const {
    if (positional_.size() > maxPositional) {
        throw ScenarioError("unexpected word \"" + positional_[maxPositional] + "\"");
    }
    const std::set<std::string> ok(allowed.begin(), allowed.end());
    for (const auto& [key, _] : options_) {
        if (!ok.contains(key)) {
            throw ScenarioError("unknown option \"" + key + "\"");
        }
    }
}

double parseNumber(const std::string& text, const char* what) {
    double v = 0;
    const auto* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc() || ptr != end || !std::isfinite(v)) {
        throw ScenarioError(std::string("bad ") + what + " \"" + text + "\": not a number");
    }
    return v;
}

long long parseInteger(const std::string& text, const char* what) {
    long long v = 0;
    const auto* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc() || ptr != end) {
        throw ScenarioError(std::string("bad ") + what + " \"" + text + "\": not an integer");
    }
    return v;
}

Duration parseDuration(const std::string& text) {
    struct Unit {
        const char* suffix;
        double micros;
    };
    for (const Unit u : {Unit{"ms", 1e3}, Unit{"us", 1.0}, Unit{"s", 1e6}}) {
        const std::string suffix = u.suffix;
        if (text.size() > suffix.size() &&
            text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0) {
            const double v = parseNumber(text.substr(0, text.size() - suffix.size()), "duration");
            // Checked before converting: a huge count would overflow the microseconds.
            const double micros = v * u.micros;
            if (v < 0 || micros > static_cast<double>(kMaxDuration.count())) {
                throw ScenarioError("bad duration \"" + text +
                                    "\": out of range (0 to 86400s, a day)");
            }
            return Duration(static_cast<long long>(std::llround(micros)));
        }
    }
    throw ScenarioError("bad duration \"" + text + "\": use a unit, as in 150ms or 1s");
}

double parseCoordinate(const std::string& text, const char* what) {
    const double v = parseNumber(text, what);
    if (std::fabs(v) > kMaxCoordinate) {
        throw ScenarioError(std::string("bad ") + what + " \"" + text +
                            "\": out of range (-1000000 to 1000000)");
    }
    return v;
}

double parseExtent(const std::string& text, const char* what) {
    const double v = parseNumber(text, what);
    if (v < 0 || v > kMaxCoordinate) {
        throw ScenarioError(std::string("bad ") + what + " \"" + text +
                            "\": out of range (0 to 1000000)");
    }
    return v;
}

bool parseSwitch(const std::string& text, const char* what) {
    if (text == "on" || text == "yes" || text == "true") {
        return true;
    }
    if (text == "off" || text == "no" || text == "false") {
        return false;
    }
    throw ScenarioError(std::string("bad ") + what + " \"" + text + "\": use on or off");
}

}  // namespace lumivoke::sim
