#include "IsoLanguageCodes.h"

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

namespace lumivoke::desktop {
namespace {

using Json = nlohmann::json;

/// Streams through the table without building it: only the entries' two codes are kept.
class TableReader final : public nlohmann::json_sax<Json> {
public:
    explicit TableReader(std::map<std::string, std::string, std::less<>>& out) : out_(out) {}

    bool sawTable = false;
    std::string error;

    bool null() override { return value(nullptr); }
    bool boolean(bool) override { return value(nullptr); }
    bool number_integer(number_integer_t) override { return value(nullptr); }
    bool number_unsigned(number_unsigned_t) override { return value(nullptr); }
    bool number_float(number_float_t, const string_t&) override { return value(nullptr); }
    bool binary(binary_t&) override { return value(nullptr); }
    bool string(string_t& text) override { return value(&text); }

    bool start_object(std::size_t) override {
        ++depth_;
        if (depth_ == kEntryDepth && inTable_) {
            alpha3_.clear();
            alpha2_.clear();
        }
        return true;
    }
    bool key(string_t& name) override {
        key_ = name;
        return true;
    }
    bool end_object() override {
        if (depth_ == kEntryDepth && inTable_ && alpha3_.size() == 3 && alpha2_.size() == 2) {
            out_.emplace(alpha3_, alpha2_);
        }
        --depth_;
        return true;
    }
    bool start_array(std::size_t) override {
        ++depth_;
        // The root object's list holds the entries: "639-2" in the small table, "639-3" in the
        // large one; both give each language with a two-letter code its terminology code.
        if (depth_ == kEntryDepth - 1 && (key_ == "639-2" || key_ == "639-3")) {
            inTable_ = true;
            sawTable = true;
        }
        return true;
    }
    bool end_array() override {
        if (depth_ == kEntryDepth - 1) {
            inTable_ = false;
        }
        --depth_;
        return true;
    }
    bool parse_error(std::size_t position, const std::string&,
                     const nlohmann::detail::exception&) override {
        error = "not JSON at byte " + std::to_string(position);
        return false;
    }

private:
    static constexpr int kEntryDepth = 3;

    bool value(const string_t* text) {
        if (depth_ == kEntryDepth && inTable_ && text != nullptr) {
            if (key_ == "alpha_3") {
                alpha3_ = *text;
            } else if (key_ == "alpha_2") {
                alpha2_ = *text;
            }
        }
        return true;
    }

    std::map<std::string, std::string, std::less<>>& out_;
    int depth_ = 0;
    bool inTable_ = false;
    std::string key_;
    std::string alpha3_;
    std::string alpha2_;
};

}  // namespace

IsoLanguageCodes IsoLanguageCodes::read(const std::filesystem::path& path) {
    IsoLanguageCodes codes;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        codes.failure_ = "cannot read " + path.string();
        return codes;
    }
    std::ostringstream text;
    text << in.rdbuf();  // an empty file sets failbit here, and is reported as not JSON below
    // Parsed from memory: the stream adapter reads a character at a time.
    const std::string json = std::move(text).str();
    TableReader reader(codes.twoLetter_);
    Json::sax_parse(json, &reader, nlohmann::detail::input_format_t::json, true, true);
    if (!reader.error.empty()) {
        codes.twoLetter_.clear();
        codes.failure_ = path.string() + " is " + reader.error;
    } else if (!reader.sawTable) {
        codes.failure_ = path.string() + " has no \"639-2\" or \"639-3\" list";
    }
    return codes;
}

std::string IsoLanguageCodes::twoLetter(const std::string& code) const {
    const auto it = twoLetter_.find(code);
    return it != twoLetter_.end() ? it->second : code;
}

}  // namespace lumivoke::desktop
