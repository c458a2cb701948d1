#pragma once

#include <string>

class Journal;

// The offcut store on the command line: journal offcuts list|show|add|scrap|move.
namespace journalcli {

struct Command;

// Refuses a wrong call before the journal is reached (throws ArgumentError).
void checkOffcutCommand(const Command& c);
// Runs a checked call; returns the exit code. JournalError passes through.
int runOffcutCommand(Journal& journal, const Command& c, const std::string& by);

} // namespace journalcli
