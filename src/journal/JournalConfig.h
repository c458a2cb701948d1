#pragma once

#include "journal/JournalAddress.h"

#include <filesystem>
#include <optional>
#include <string>

// Which journal the program keeps its orders in and under whose name. The address comes from,
// first to last: the command line (--journal), the environment variable TAVROLAB_JOURNAL, the
// data folder's config/journal.conf, and otherwise the file journal.sqlite in the user's data
// folder. "off" in place of an address keeps no journal: the order number file alone numbers the
// orders.
//
// config/journal.conf holds "key = value" lines ('#' starts a comment):
//   journal = postgresql:///tavrolab?host=/run/postgresql
//   salesperson = Иванова
// The salesperson is TAVROLAB_SALESPERSON when set, else the file's, else the login name.
struct JournalConfig {
    std::optional<JournalAddress> address; // nullopt: no journal
    std::string salesperson;
    std::filesystem::path configFile; // the file read, when one was

    // Throws JournalError (BadAddress) when the chosen address cannot be understood, naming where
    // it came from.
    static JournalConfig resolve(const std::filesystem::path& dataFolder,
                                 const std::string& commandLineAddress = {});

    // $XDG_DATA_HOME/tavrolab/journal.sqlite (see OrderNumberFile::userDataFolder); empty when
    // there is no user data folder.
    static std::filesystem::path defaultFile();
    static std::string loginName();
};
