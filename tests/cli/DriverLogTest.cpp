// The drivers' own English lines go to the log in the user's state folder, not to the terminal.

#include "cli/DriverLog.h"

#include "support/OutputTestSupport.h"
#include "support/TempFolder.h"

#include <QtGlobal>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

TEST(DriverLog, QtsLinesGoToTheStateFoldersLogNotTheTerminal) {
    TempFolder dir;
    ::setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);
    EXPECT_EQ(driverlog::file(), dir / "state" / "tavrolab" / "tavrolab-cli.log");
    // What reaches standard error while the line is written.
    std::fflush(stderr);
    const int saved = ::dup(2);
    std::FILE* caught = std::fopen((dir / "stderr").c_str(), "w");
    ::dup2(::fileno(caught), 2);
    driverlog::install();
    qWarning("QSqlQuery::exec: database not open");
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);
    std::fclose(caught);
    qInstallMessageHandler(nullptr);
    EXPECT_EQ(outtest::readFile(dir / "stderr"), "");
    EXPECT_NE(outtest::readFile(driverlog::file()).find("QSqlQuery::exec: database not open"),
              std::string::npos);
    ::setenv("XDG_STATE_HOME", "relative/state", 1);
    ::unsetenv("HOME");
    EXPECT_TRUE(driverlog::file().empty());
}
