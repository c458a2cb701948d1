#pragma once

#include <filesystem>

// The database drivers' and Qt's own lines ("QSqlQuery::exec: database not open" after a lost
// connection) are English notes for a developer, not for the salesperson's terminal: once
// installed, they go to tavrolab-cli.log in the user's state folder ($XDG_STATE_HOME/tavrolab,
// else ~/.local/state/tavrolab), each with its time. Nothing is written where there is no such
// folder.
namespace driverlog {

void install();
// The log's path; empty without a state folder.
std::filesystem::path file();

} // namespace driverlog
