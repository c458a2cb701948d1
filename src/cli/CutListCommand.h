#pragma once

#include <string>
#include <vector>

// The cut list of any job on the command line:
//   tavrolab-cli cutlist PIECES.csv --stock STOCK.csv [--kerf MM] [--trim MM] [--min-offcut MM]
//                [--rotate | --no-rotate] [--seconds S] [--plan OUT.json|-]
// Exit codes as the rest of the tool: 0 done, 2 a file not read or refused, 3 an output not
// written, 64 a wrong call.
namespace cutlistcli {

extern const char* const kUsage;

// Whether the command line asks for the cut list (its first word is "cutlist").
bool isCutListCommand(const std::vector<std::string>& args);
// Runs it; messages go to standard error. Returns the exit code.
int runCutListCommand(const std::vector<std::string>& args);

} // namespace cutlistcli
