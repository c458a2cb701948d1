#pragma once

#include "support/OutputTestSupport.h"

#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <vector>

// Runs the built tavrolab-cli with arguments and captures its exit status and both streams.
struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string quoted(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// The streams go to files in dir.
inline CliRun cli(const TempFolder& dir, const std::vector<std::string>& args) {
    std::string command = quoted(TAV_BIN_DIR "/tavrolab-cli");
    for (const std::string& a : args)
        command += " " + quoted(a);
    command +=
        " > " + quoted((dir / "stdout").string()) + " 2> " + quoted((dir / "stderr").string());
    const int raw = std::system(command.c_str());
    CliRun r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = outtest::readFile(dir / "stdout");
    r.err = outtest::readFile(dir / "stderr");
    return r;
}
