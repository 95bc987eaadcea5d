#include "SystemLog.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace lumivoke::desktop {
namespace {

LogRecord record(LogLevel level, std::string category, std::string text) {
    return LogRecord{level, std::move(category), "%{public}s", std::move(text)};
}

/// A journal that keeps what it is sent and refuses once told to.
struct FakeJournal {
    std::vector<std::vector<std::string>> entries;
    bool refuse = false;
    SystemLogSink::JournalSend send() {
        return [this](const std::vector<std::string>& fields) {
            if (refuse) {
                return false;
            }
            entries.push_back(fields);
            return true;
        };
    }
};

TEST(SystemLog, AJournalEntryCarriesThePrioritySubsystemAndCategory) {
    const std::pair<LogLevel, std::string> priorities[] = {{LogLevel::debug, "PRIORITY=7"},
                                                           {LogLevel::info, "PRIORITY=6"},
                                                           {LogLevel::error, "PRIORITY=3"}};
    for (const auto& [level, priority] : priorities) {
        const auto fields =
            journalFields(record(level, "Layouts", "layouts xkb:us \"English (US)\" en"));
        EXPECT_EQ(fields, (std::vector<std::string>{"MESSAGE=layouts xkb:us \"English (US)\" en",
                                                    priority, "SYSLOG_IDENTIFIER=lumivoke",
                                                    "SUBSYSTEM=com.velmorandix.Lumivoke",
                                                    "CATEGORY=Layouts"}));
    }
}

TEST(SystemLog, RecordsGoToTheJournalAloneOrMirroredOrToTheStreamAlone) {
    struct Case {
        bool journal;
        bool mirror;
        std::size_t entries;
        std::string stream;
    };
    const Case cases[] = {
        {true, false, 2, ""},
        {true, true, 2, "info Layouts: one\nerror Keyboard: two\n"},
        {false, false, 0, "info Layouts: one\nerror Keyboard: two\n"},
        // Without a journal, verbose has nothing to add: each record once.
        {false, true, 0, "info Layouts: one\nerror Keyboard: two\n"},
    };
    for (const auto& c : cases) {
        FakeJournal journal;
        std::ostringstream stream;
        SystemLogSink sink(c.journal, c.mirror, stream, journal.send());
        sink.write(record(LogLevel::info, "Layouts", "one"));
        sink.write(record(LogLevel::error, "Keyboard", "two"));
        EXPECT_EQ(journal.entries.size(), c.entries) << c.journal << c.mirror;
        EXPECT_EQ(stream.str(), c.stream) << c.journal << c.mirror;
        EXPECT_EQ(sink.usesJournal(), c.journal);
    }
}

TEST(SystemLog, ARefusedRecordAndEveryLaterOneGoToTheStream) {
    FakeJournal journal;
    std::ostringstream stream;
    SystemLogSink sink(true, false, stream, journal.send());
    sink.write(record(LogLevel::info, "Layouts", "kept by the journal"));
    journal.refuse = true;
    sink.write(record(LogLevel::info, "Layouts", "refused"));
    journal.refuse = false;
    sink.write(record(LogLevel::info, "Layouts", "after"));
    EXPECT_EQ(journal.entries.size(), 1u);
    EXPECT_FALSE(sink.usesJournal());
    EXPECT_EQ(
        stream.str(),
        "error Log: the journal refused a record; the log goes to standard error from now on\n"
        "info Layouts: refused\n"
        "info Layouts: after\n");
}

TEST(SystemLog, AJournalIsThereOnlyWhereItsSocketIs) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("lumivoke-journal-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto socketPath = dir / "socket";
    const auto filePath = dir / "file";
    std::ofstream(filePath) << "not a socket";
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    EXPECT_TRUE(SystemLogSink::journalIsAt(socketPath));
    EXPECT_FALSE(SystemLogSink::journalIsAt(filePath));
    EXPECT_FALSE(SystemLogSink::journalIsAt(dir));
    EXPECT_FALSE(SystemLogSink::journalIsAt(dir / "nothing"));
    ::close(fd);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace lumivoke::desktop
