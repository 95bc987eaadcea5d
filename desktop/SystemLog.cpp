#include "SystemLog.h"

#include <sys/uio.h>
#include <systemd/sd-journal.h>

#include <iostream>

namespace lumivoke::desktop {

int journalPriority(LogLevel level) {
    switch (level) {
        case LogLevel::debug:
            return 7;
        case LogLevel::info:
            return 6;
        case LogLevel::error:
            return 3;
    }
    return 6;
}

std::vector<std::string> journalFields(const LogRecord& record) {
    // The text is already escaped (no newlines, no controls), so it is one line in the journal
    // as on a terminal.
    return {
        "MESSAGE=" + record.text,      "PRIORITY=" + std::to_string(journalPriority(record.level)),
        "SYSLOG_IDENTIFIER=lumivoke",  "SUBSYSTEM=" + std::string(Logger::subsystem),
        "CATEGORY=" + record.category,
    };
}

bool SystemLogSink::journalIsAt(const std::filesystem::path& socket) {
    std::error_code error;
    return std::filesystem::is_socket(socket, error);
}

bool SystemLogSink::sendToJournal(const std::vector<std::string>& fields) {
    // sd_journal_sendv rather than sd_journal_send: a record's text is not a format string.
    std::vector<iovec> parts;
    parts.reserve(fields.size());
    for (const auto& field : fields) {
        parts.push_back(iovec{const_cast<char*>(field.data()), field.size()});
    }
    return sd_journal_sendv(parts.data(), static_cast<int>(parts.size())) >= 0;
}

SystemLogSink::SystemLogSink(bool useJournal, bool mirror, std::ostream& stream, JournalSend send)
    : useJournal_(useJournal), mirror_(mirror), stream_(&stream), send_(std::move(send)) {}

SystemLogSink SystemLogSink::forThisMachine(bool verbose) {
    return SystemLogSink(journalIsAt(standardJournalSocket), verbose, std::cerr, sendToJournal);
}

void SystemLogSink::write(const LogRecord& record) {
    if (useJournal_) {
        if (send_(journalFields(record))) {
            if (mirror_) {
                writeToStream(record);
            }
            return;
        }
        useJournal_ = false;
        writeToStream(LogRecord{LogLevel::error, "Log", "",
                                "the journal refused a record; the log goes to standard error "
                                "from now on"});
    }
    writeToStream(record);
}

void SystemLogSink::writeToStream(const LogRecord& record) {
    // One write a record: standard error is unbuffered, and a line written piecemeal costs a
    // system call a piece on the path of every tap, and can interleave with another writer's.
    const std::string_view level = levelName(record.level);
    std::string line;
    line.reserve(level.size() + record.category.size() + record.text.size() + 4);
    line.append(level).append(" ").append(record.category).append(": ").append(record.text);
    line.push_back('\n');
    stream_->write(line.data(), static_cast<std::streamsize>(line.size()));
    stream_->flush();
}

}  // namespace lumivoke::desktop
