#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "base/Logger.h"

// Where the program's log records go: the systemd journal when one is there, as entries with
// their subsystem, category and priority as fields, so `journalctl CATEGORY=Layouts` finds
// them; otherwise standard error. Needs no display.
namespace lumivoke::desktop {

/// The journal's priority of a level: debug 7, info 6, error 3.
int journalPriority(LogLevel level);

/// The fields of a record's journal entry ("MESSAGE=…", "PRIORITY=6", "SYSLOG_IDENTIFIER=…",
/// "SUBSYSTEM=…", "CATEGORY=…").
std::vector<std::string> journalFields(const LogRecord& record);

/// A log sink that writes to the journal, to a stream, or to both.
class SystemLogSink final : public LogSink {
public:
    /// Sends one entry; false when the journal did not take it.
    using JournalSend = std::function<bool(const std::vector<std::string>& fields)>;

    /// Where the journal listens on a machine that runs one.
    static constexpr const char* standardJournalSocket = "/run/systemd/journal/socket";
    /// Whether a journal listens at socket (a socket is there).
    static bool journalIsAt(const std::filesystem::path& socket);
    /// Sends to the machine's journal.
    static bool sendToJournal(const std::vector<std::string>& fields);

    /// With useJournal, records go to the journal through send and, with mirror, also to
    /// stream; without, to stream alone. A record the journal refuses goes to stream, and so
    /// does every later one (said once there), so nothing is lost.
    SystemLogSink(bool useJournal, bool mirror, std::ostream& stream, JournalSend send);
    /// The program's own: the machine's journal when it runs one, standard error otherwise
    /// (and with verbose, too).
    static SystemLogSink forThisMachine(bool verbose);

    void write(const LogRecord& record) override;
    /// Whether records go to the journal (until it refuses one).
    bool usesJournal() const { return useJournal_; }

private:
    void writeToStream(const LogRecord& record);

    bool useJournal_;
    bool mirror_;
    std::ostream* stream_;
    JournalSend send_;
};

}  // namespace lumivoke::desktop
