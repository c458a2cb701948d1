#pragma once

#include "journal/JournalConfig.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

class Journal;

// The journal a program run works with: the configuration read once, the connection opened on
// first use and kept. After a failure the connection is dropped, so the next use tries afresh
// (a server back up, a file no longer held).
class JournalSession {
public:
    // dataFolder: the program's data folder (its config/journal.conf); commandLineAddress
    // overrides the configured address when not empty.
    explicit JournalSession(const std::filesystem::path& dataFolder,
                            const std::string& commandLineAddress = {});
    ~JournalSession();

    // False when the configuration says "off": the number file alone numbers the orders.
    bool enabled() const { return !configError_.empty() || config_.address.has_value(); }
    const std::string& salesperson() const { return config_.salesperson; }

    // The journal's address, without opening it; throws JournalError when it is not configured.
    const JournalAddress& address() const;
    // The open journal; throws JournalError when it cannot be opened (or is not configured).
    Journal& journal();
    // Drops the connection after a failure.
    void reset();

private:
    JournalConfig config_;
    std::string configError_;
    std::unique_ptr<Journal> journal_;
};
