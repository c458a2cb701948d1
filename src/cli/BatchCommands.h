#pragma once

#include <string>

class Journal;

// The workshop's batches on the command line: journal batch (plan, start), batch cancel N.
namespace journalcli {

struct Command;

// Refuses a wrong call before the journal is reached (throws ArgumentError).
void checkBatchCommand(const Command& c);
// Runs a checked call with the data folder's catalog; returns the exit code. JournalError passes
// through.
int runBatchCommand(Journal& journal, const Command& c, const std::string& dataFolder,
                    const std::string& by);

} // namespace journalcli
