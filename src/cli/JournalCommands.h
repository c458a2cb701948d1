#pragma once

#include <optional>
#include <string>
#include <vector>

class CuttingPlan;
class Project;

// The order journal on the command line:
//   tavrolab-cli [--journal URL] [--data DIR] journal list|show|open|status|report ...
// and the placing of an opened or new project (--place). Exit codes as the rest of the command
// line: 0 done, 3 a file could not be written, 5 journal unreachable or refused, 6 no such order
// or offcut, 7 the journal's server not answering within the deadline, 64 a wrong call.
namespace journalcli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 64; // a wrong call, as the rest of the command line
inline constexpr int kExitSave = 3;   // as the other commands: a file could not be written
inline constexpr int kExitJournal = 5;
inline constexpr int kExitNoOrder = 6;
inline constexpr int kExitNotAnswering = 7; // the server took the question and did not answer

extern const char* const kUsage;

// Whether the command line asks for a journal command (its first word, options aside, is
// "journal").
bool isJournalCommand(const std::vector<std::string>& args);
// Runs it, printing to standard output and messages to standard error; returns the exit code.
int runJournalCommand(const std::vector<std::string>& args, const std::string& programFolder);

// Places the project's order in the journal (the configured one, or journalAddress when given),
// saving its sketch to savePath when given, and prints the number as the last line of standard
// output. Returns the exit code.
//
// The sketch's bytes as given (sketchBytes) make the placing's key with the seat: placing the same
// sketch again from the same seat within 24 hours, such as a retry after a lost answer, is refused
// with the number it got ("Заказ уже оформлен под номером N", exit code 6) unless again is set.
int placeOrder(Project& project, const std::string& dataFolder,
               const std::optional<std::string>& journalAddress,
               const std::optional<std::string>& savePath, const std::string& sketchBytes,
               bool again);

// When a journal is configured (or journalAddress given), tells the order's own plan what the
// journal's offcut store could give it (fromStore of each article and material), taking nothing;
// a journal that cannot be read is said on standard error and the plan left without it.
void countFromStore(CuttingPlan& plan, const Project& project, const std::string& dataFolder,
                    const std::optional<std::string>& journalAddress);

} // namespace journalcli
