#include <gtest/gtest.h>

#include "base/Logger.h"

namespace lumivoke {
namespace {

struct FormatCase {
    const char* format;
    std::vector<LogArg> args;
    const char* expected;
};

class RenderLogFormat : public testing::TestWithParam<FormatCase> {};

TEST_P(RenderLogFormat, RendersLikeTheSystemLog) {
    const auto& c = GetParam();
    EXPECT_EQ(renderLogFormat(c.format, c.args), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Placeholders, RenderLogFormat,
    testing::Values(
        FormatCase{"select() id=%{public}s name=%{public}s",
                   {std::string("com.apple.keylayout.ABC"), std::string("ABC")},
                   "select() id=com.apple.keylayout.ABC name=ABC"},
        FormatCase{"status=%{public}d", {std::int64_t{-50}}, "status=-50"},
        FormatCase{"Fn↑ elapsed=%{public}ldms clean=%{bool,public}d",
                   {std::int64_t{150}, true},
                   "Fn↑ elapsed=150ms clean=true"},
        FormatCase{"clean=%{bool,public}d", {false}, "clean=false"},
        FormatCase{"keycode=%{public}hu", {std::uint64_t{65535}}, "keycode=65535"},
        FormatCase{"hotSpot=(%{public}f, %{public}f)", {4.0, 9.5}, "hotSpot=(4.000000, 9.500000)"},
        FormatCase{"trust changed: %{bool,public}d", {std::int64_t{2}}, "trust changed: true"},
        FormatCase{"100%% sure", {}, "100% sure"}));

INSTANTIATE_TEST_SUITE_P(
    Mismatches, RenderLogFormat,
    testing::Values(
        // More placeholders than arguments: never read past them.
        FormatCase{"a=%{public}s b=%{public}d c=%{bool,public}d",
                   {std::string("x")},
                   "a=x b=<missing> c=<missing>"},
        FormatCase{"%{public}s%{public}s%{public}s", {}, "<missing><missing><missing>"},
        // More arguments than placeholders: the rest are ignored.
        FormatCase{"only %{public}d", {std::int64_t{1}, std::int64_t{2}}, "only 1"},
        // Text that only looks like a placeholder is kept as written.
        FormatCase{"broken %{public", {std::string("x")}, "broken %{public"},
        FormatCase{"trailing %", {std::string("x")}, "trailing %"},
        FormatCase{"odd %q", {std::string("x")}, "odd %q"},
        // A text argument where a number is expected prints the text.
        FormatCase{"n=%{public}d", {std::string("seven")}, "n=seven"}));

INSTANTIATE_TEST_SUITE_P(
    ForgedRecords, RenderLogFormat,
    testing::Values(
        // A stored or system-provided text never breaks a record into lines or drives the
        // terminal: controls are escaped, and so is the backslash that escapes them.
        FormatCase{"setRule bundleID=%{public}s sourceID=%{public}s",
                   {std::string("a\nerror Lifecycle: forged"), std::string("b\r\tc")},
                   "setRule bundleID=a\\nerror Lifecycle: forged sourceID=b\\r\\tc"},
        FormatCase{"target=%{public}s",
                   {std::string("\x1B[2J\x07\x7F\x01")},
                   "target=\\x1B[2J\\x07\\x7F\\x01"},
        FormatCase{"id=%{public}s", {std::string("a\\nb")}, "id=a\\\\nb"},
        // C1 controls (CSI among them), line separators and bidirectional overrides.
        FormatCase{"id=%{public}s",
                   {std::string("\u009B31m\u2028x\u202Ey\u2069")},
                   "id=\\u009B31m\\u2028x\\u202Ey\\u2069"},
        // Bytes that are not UTF-8 show as bytes; real text stays as it is.
        FormatCase{"id=%{public}s", {std::string("\xFF\xC3(\xE2\x82")}, "id=\\xFF\\xC3(\\xE2\\x82"},
        FormatCase{"id=%{public}s",
                   {std::string("Émile — 日本語 🙂")},
                   "id=Émile — 日本語 🙂"},
        // The format itself is the system's own and is kept; a %c of a control is escaped.
        FormatCase{"a\tb %{public}c", {std::int64_t{10}}, "a\tb \\n"}));

TEST(Logger, RecordKeepsLevelCategoryFormatAndText) {
    MemoryLogSink sink;
    Logger log(sink, "InputSource");
    log.error("TISSelectInputSource FAILED status=%{public}d id=%{public}s", -50, std::string("X"));
    log.debug("dirty (modifier combo)");
    ASSERT_EQ(sink.records.size(), 2u);
    EXPECT_EQ(sink.records[0].level, LogLevel::error);
    EXPECT_EQ(sink.records[0].category, "InputSource");
    EXPECT_EQ(sink.records[0].format,
              "TISSelectInputSource FAILED status=%{public}d id=%{public}s");
    EXPECT_EQ(sink.records[0].text, "TISSelectInputSource FAILED status=-50 id=X");
    EXPECT_EQ(sink.records[1].level, LogLevel::debug);
    EXPECT_EQ(Logger::subsystem, "com.velmorandix.Lumivoke");
}

TEST(Logger, UnsignedShortKeyCodeKeepsItsWidth) {
    MemoryLogSink sink;
    Logger log(sink, "NSEventMonitor");
    const std::uint16_t keyCode = 123;
    log.debug("dirty (Fn-combo during Fn-hold, keycode=%{public}hu)", keyCode);
    EXPECT_EQ(sink.records.at(0).text, "dirty (Fn-combo during Fn-hold, keycode=123)");
}

}  // namespace
}  // namespace lumivoke
