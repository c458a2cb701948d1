#pragma once

class Journal;

// The journal's money and customers on the command line: journal debts, customers, history and
// roles.
namespace journalcli {

struct Command;

// Whether the command is one of these, and its check before the journal is reached (throws
// ArgumentError).
bool isMoneyCommand(const Command& c);
void checkMoneyCommand(const Command& c);
// Runs a checked call; returns the exit code. JournalError passes through.
int runMoneyCommand(Journal& journal, const Command& c);

} // namespace journalcli
