// Arbitrary streams of flags-changed and key-down events at arbitrary virtual times, through the
// real Globe-key monitor on the simulated keyboard, with the monitor stopped, started and
// refused a registration along the way. Every signal and every log line is checked against a
// reference model written here from the tap rules alone, and the rules' promises are checked by
// name: at most one tap per Fn release, never a tap from a dirty or a 400 ms hold, none from a
// release without a recorded press, no typing signal from a key pressed with Fn, Control or
// Command, signals only on a later turn, and nothing at all once the monitor is gone.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SimKeyboard.h"
#include "Trace.h"
#include "base/VirtualMainLoop.h"
#include "input/NSEventMonitor.h"

namespace {

using namespace lumivoke;

// The modifier bits as the event stream carries them, written out here rather than taken from
// the code under test.
constexpr std::uint64_t kCapsLock = 0x10000;
constexpr std::uint64_t kShift = 0x20000;
constexpr std::uint64_t kControl = 0x40000;
constexpr std::uint64_t kOption = 0x80000;
constexpr std::uint64_t kCommand = 0x100000;
constexpr std::uint64_t kNumericPad = 0x200000;
constexpr std::uint64_t kHelp = 0x400000;
constexpr std::uint64_t kFn = 0x800000;
constexpr std::uint64_t kComboMask = kShift | kControl | kOption | kCommand;  // 0x1E0000
constexpr std::uint64_t kNotTypingMask = kControl | kCommand | kFn;           // 0x940000
constexpr std::int64_t kTapThresholdMs = 400;

[[noreturn]] void fail(const char* rule, const std::string& detail) {
    std::fprintf(stderr, "key-events fuzzer: %s (%s)\n", rule, detail.c_str());
    std::abort();
}

void require(bool holds, const char* rule, const std::string& detail = {}) {
    if (!holds) {
        fail(rule, detail);
    }
}

/// The first scalar of UTF-8 text, decoded strictly (no overlong forms, no surrogates, nothing
/// above U+10FFFF); none for empty or malformed text.
std::optional<char32_t> firstScalarStrict(const std::string& s) {
    if (s.empty()) {
        return std::nullopt;
    }
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char b0 = byte(0);
    int length = 0;
    char32_t min = 0;
    char32_t cp = 0;
    if (b0 < 0x80) {
        return b0;
    } else if (b0 >= 0xC0 && b0 < 0xE0) {
        length = 2, min = 0x80, cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 < 0xF0) {
        length = 3, min = 0x800, cp = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 < 0xF8) {
        length = 4, min = 0x10000, cp = b0 & 0x07;
    } else {
        return std::nullopt;
    }
    if (s.size() < static_cast<std::size_t>(length)) {
        return std::nullopt;
    }
    for (int i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return std::nullopt;
        }
        cp = (cp << 6) | (byte(i) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return std::nullopt;
    }
    return cp;
}

/// Printable for the tap rules: a first scalar of at least U+0020, not DEL, and outside the
/// function-key range U+F700…U+F8FF.
bool printable(const std::optional<std::string>& chars) {
    if (!chars) {
        return false;
    }
    const auto c = firstScalarStrict(*chars);
    return c && *c >= 0x20 && *c != 0x7F && !(*c >= 0xF700 && *c <= 0xF8FF);
}

/// Characters a key press may carry: the plain, the edges of every range the rules name, and
/// malformed text.
const std::optional<std::string> kCharacters[] = {
    std::nullopt,
    std::string(),
    std::string("a"),
    std::string("Z"),
    std::string(" "),
    std::string("\t"),
    std::string("\r"),
    std::string("\x1b"),
    std::string("\x7f"),
    std::string("\x1f"),
    std::string(1, '\0'),
    std::string("\xc3\xa9"),          // é
    std::string("\xe2\x82\xac"),      // €
    std::string("\xf0\x9f\x98\x80"),  // an emoji
    std::string("ab"),
    std::string("\xef\x9c\x80"),  // U+F700, up arrow
    std::string("\xef\x9c\x82"),  // U+F702, left arrow
    std::string("\xef\xa3\xbf"),  // U+F8FF, the range's last
    std::string("\xef\x9b\xbf"),  // U+F6FF, just below it
    std::string("\xef\xa4\x80"),  // U+F900, just above it
    std::string("\xff"),
    std::string("\xc3"),              // cut short
    std::string("\xc0\xaf"),          // overlong
    std::string("\xe0\x80\x80"),      // overlong
    std::string("\xed\xa0\x80"),      // a surrogate
    std::string("\xf4\x90\x80\x80"),  // above U+10FFFF
    std::string("\xf4\x8f\xbf\xbf"),  // U+10FFFF
    std::string("\xc2\x80"),          // U+0080, a C1 control
    std::string("\xef\xbf\xbf"),      // U+FFFF
    std::string("\xcc\x81"),          // a lone combining accent
};
constexpr std::size_t kCharacterCount = sizeof(kCharacters) / sizeof(kCharacters[0]);

/// Modifier flags from one byte, one bit per modifier the stream can carry.
std::uint64_t modifiersFrom(std::uint8_t bits) {
    static constexpr std::uint64_t kBits[] = {kShift, kControl,  kOption,     kCommand,
                                              kFn,    kCapsLock, kNumericPad, kHelp};
    std::uint64_t flags = 0;
    for (int i = 0; i < 8; ++i) {
        if ((bits & (1u << i)) != 0) {
            flags |= kBits[i];
        }
    }
    return flags;
}

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    // Operands are read in order, one statement each: the order of a call's arguments is not.
    std::uint32_t u16() {
        const std::uint32_t low = byte();
        return low | (std::uint32_t{byte()} << 8);
    }
    std::uint64_t u32() {
        const std::uint64_t low = u16();
        return low | (std::uint64_t{u16()} << 16);
    }
    const std::optional<std::string>& characters() { return kCharacters[byte() % kCharacterCount]; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

/// What the tap rules say the monitor does, kept as the plain history of the current hold: a
/// release looks back over what happened since Fn went down.
class ReferenceModel {
public:
    struct Outcome {
        bool tap = false;
        bool typing = false;
        std::vector<std::string> log;  // "LEVEL text"
    };

    bool running = false;
    bool registeredTrusted = false;

    Outcome flagsChanged(std::uint64_t flags, std::int64_t nowUs) {
        Outcome out;
        if ((flags & kFn) == 0) {
            if (!pressedAtUs_) {
                return out;  // a release without a recorded press
            }
            const std::int64_t elapsedMs = (nowUs - *pressedAtUs_) / 1000;
            const bool clean = !dirtied(hold_) && elapsedMs < kTapThresholdMs;
            out.log.push_back("info Fn↑ elapsed=" + std::to_string(elapsedMs) +
                              "ms clean=" + (clean ? "true" : "false"));
            out.tap = clean;
            pressedAtUs_.reset();
            hold_.clear();
            return out;
        }
        if (!pressedAtUs_) {
            // Modifiers already held as Fn goes down do not count against the press.
            pressedAtUs_ = nowUs;
            out.log.emplace_back("info Fn↓");
            return out;
        }
        const bool wasDirty = dirtied(hold_);
        hold_.push_back({true, flags, std::nullopt, 0});
        if (!wasDirty && dirtied(hold_)) {
            out.log.emplace_back("debug dirty (modifier combo)");
        }
        return out;
    }

    Outcome keyDown(std::uint64_t flags, const std::optional<std::string>& chars,
                    std::uint16_t keyCode) {
        Outcome out;
        if (pressedAtUs_) {
            const bool wasDirty = dirtied(hold_);
            hold_.push_back({false, flags, chars, keyCode});
            if (!wasDirty && dirtied(hold_)) {
                out.log.push_back("debug dirty (Fn-combo during Fn-hold, keycode=" +
                                  std::to_string(keyCode) + ")");
            }
        }
        out.typing = (flags & kNotTypingMask) == 0 && chars && !chars->empty();
        return out;
    }

    bool pressRecorded() const { return pressedAtUs_.has_value(); }
    std::int64_t pressedAtUs() const { return pressedAtUs_.value_or(0); }
    bool holdDirty() const { return dirtied(hold_); }

private:
    struct Seen {
        bool flagsChanged;
        std::uint64_t flags;
        std::optional<std::string> chars;
        std::uint16_t keyCode;
    };
    static bool dirtied(const std::vector<Seen>& hold) {
        for (const auto& e : hold) {
            if (e.flagsChanged ? (e.flags & kComboMask) != 0 : !printable(e.chars)) {
                return true;
            }
        }
        return false;
    }

    std::optional<std::int64_t> pressedAtUs_;
    std::vector<Seen> hold_;
};

std::string render(const LogRecord& r) {
    return std::string(levelName(r.level)) + " " + r.text;
}

class Harness {
public:
    Harness() : monitor_(std::make_unique<NSEventMonitor>(keyboard_, loop_, log_)) {
        monitor_->onTap = [this] { signal('T'); };
        monitor_->onTyping = [this] { signal('K'); };
        // Running from the start, as the application starts it; inputs stop and start it.
        start();
    }

    void run(Input& in) {
        while (!in.empty()) {
            step(in);
        }
        drain();
        require(expected_.empty(), "every posted signal runs", std::to_string(expected_.size()));
        // Gone with a tap and a typing signal still waiting: neither may reach the owner.
        keyboard_.setTrusted(true);
        keyboard_.setNoMonitorToken(false);
        noToken_ = false;
        monitor_->stop();
        model_.running = false;
        start();
        flags(kFn);
        flags(0);
        keyDown(0, std::string("a"), 0);
        require(!expected_.empty(), "signals wait for a later turn");
        monitor_.reset();
        require(keyboard_.monitorCount() == 0, "the monitor's registration ends with it");
        const std::size_t before = signals_;
        loop_.runUntilIdle();
        require(signals_ == before, "nothing runs once the monitor is gone");
    }

private:
    void step(Input& in) {
        const std::uint8_t op = in.byte();
        switch (op % 16) {
            case 0:
                flags(modifiersFrom(in.byte()));
                break;
            case 1:
                flags(held_ | kFn);
                break;
            case 2:
                flags(held_ & ~kFn);
                break;
            case 3: {
                const auto& chars = in.characters();
                keyDown(held_, chars, in.byte());
                break;
            }
            case 4: {
                const std::uint64_t f = modifiersFrom(in.byte());
                const auto& chars = in.characters();
                keyDown(f, chars, in.byte());
                break;
            }
            case 5: {
                std::string chars;
                for (int n = in.byte() % 6; n > 0; --n) {
                    chars += static_cast<char>(in.byte());
                }
                keyDown(held_, chars, in.byte());
                break;
            }
            case 6:
                advance(std::int64_t{in.byte()} * 1000);
                break;
            case 7:
                advance(in.u16());
                break;
            case 8:
                // Around the threshold, 50 µs at a time: 395 ms to 407.75 ms.
                advance(395'000 + std::int64_t{in.byte()} * 50);
                break;
            case 9:
                advance(std::int64_t{in.byte()} * 1'000'000);
                break;
            case 10:
                drain();
                break;
            case 11:
                monitor_->stop();
                model_.running = false;
                require(keyboard_.monitorCount() == 0, "stop removes the registration");
                break;
            case 12:
                start();
                break;
            case 13:
                keyboard_.setTrusted((in.byte() & 1) != 0);
                break;
            case 14:
                noToken_ = (in.byte() & 1) != 0;
                keyboard_.setNoMonitorToken(noToken_);
                break;
            case 15: {
                const std::uint64_t bits = in.u32();
                flags(bits << (in.byte() % 33));
                break;
            }
        }
    }

    void start() {
        const std::size_t records = log_.records.size();
        const bool wasRunning = model_.running;
        monitor_->start();
        if (!wasRunning) {
            // An empty token registers nothing; the next start tries again.
            model_.running = !noToken_;
            model_.registeredTrusted = keyboard_.trusted();
            require(log_.records.size() == records + 1 &&
                        render(log_.records.back()) == "info NSEvent global monitor started",
                    "a start logs that the monitor started");
        } else {
            require(log_.records.size() == records, "a second start changes nothing");
        }
        require(monitor_->isRunning() == model_.running, "running as registered");
        require(keyboard_.monitorCount() == (model_.running ? 1u : 0u), "one registration at most");
    }

    void flags(std::uint64_t f) {
        held_ = f & ~kCapsLock;
        KeyEvent e;
        e.type = KeyEventType::flagsChanged;
        e.modifierFlags = f;
        deliver(e);
    }

    void keyDown(std::uint64_t f, const std::optional<std::string>& chars, std::uint8_t code) {
        KeyEvent e;
        e.type = KeyEventType::keyDown;
        e.modifierFlags = f;
        e.charactersIgnoringModifiers = chars;
        e.keyCode = code;
        deliver(e);
    }

    void deliver(const KeyEvent& e) {
        const bool heard = model_.running && model_.registeredTrusted && keyboard_.trusted();
        const std::int64_t now = loop_.now().time_since_epoch().count();
        const bool hadPress = model_.pressRecorded();
        const std::int64_t pressedAt = model_.pressedAtUs();
        const bool wasDirty = model_.holdDirty();
        ReferenceModel::Outcome expect;
        if (heard) {
            expect =
                e.type == KeyEventType::flagsChanged
                    ? model_.flagsChanged(e.modifierFlags, now)
                    : model_.keyDown(e.modifierFlags, e.charactersIgnoringModifiers, e.keyCode);
        }
        const std::size_t records = log_.records.size();
        const std::size_t pending = loop_.pendingCount();
        const std::size_t signalsBefore = signals_;

        keyboard_.deliver(e);

        require(signals_ == signalsBefore, "signals run on a later turn, never inside the event");
        const std::size_t posted = loop_.pendingCount() - pending;
        require(posted <= 1, "at most one signal per event", std::to_string(posted));
        const bool release = e.type == KeyEventType::flagsChanged && (e.modifierFlags & kFn) == 0;
        if (posted == 1 && e.type == KeyEventType::flagsChanged) {
            // The rules' promises about taps, checked on what the monitor did.
            require(release, "a tap comes from a Fn release only");
            require(hadPress, "a release without a recorded press never taps");
            require(!wasDirty, "never a tap from a dirty hold");
            require((now - pressedAt) / 1000 < kTapThresholdMs, "never a tap from a 400 ms hold",
                    std::to_string(now - pressedAt) + " us");
        }
        if (posted == 1 && e.type == KeyEventType::keyDown) {
            require((e.modifierFlags & kNotTypingMask) == 0,
                    "no typing signal while Fn, Control or Command is held");
        }
        require(posted == (expect.tap || expect.typing ? 1u : 0u), "signals as the model says",
                "posted " + std::to_string(posted));
        if (posted == 1) {
            expected_.push_back(expect.tap ? 'T' : 'K');
        }
        require(log_.records.size() - records == expect.log.size(), "log lines as the model says",
                std::to_string(log_.records.size() - records) + " lines");
        for (std::size_t i = 0; i < expect.log.size(); ++i) {
            const auto& r = log_.records[records + i];
            require(r.category == "NSEventMonitor" && render(r) == expect.log[i],
                    "log lines as the model says", render(r) + " vs " + expect.log[i]);
        }
    }

    void signal(char kind) {
        ++signals_;
        require(!expected_.empty(), "no signal that was not posted");
        require(expected_.front() == kind, "signals in the order posted");
        expected_.pop_front();
    }

    void advance(std::int64_t us) { loop_.advance(Duration(us)); }
    void drain() { loop_.runUntilIdle(); }

    VirtualMainLoop loop_;
    sim::Trace keyboard_trace_{loop_};
    sim::SimKeyboard keyboard_{keyboard_trace_};
    MemoryLogSink log_;
    std::unique_ptr<NSEventMonitor> monitor_;
    ReferenceModel model_;
    std::uint64_t held_ = 0;
    bool noToken_ = false;
    std::deque<char> expected_;
    std::size_t signals_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    Harness harness;
    harness.run(in);
    return 0;
}
