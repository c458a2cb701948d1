#pragma once

#include "support/OutputTestSupport.h"

#include <cstdio>
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

// Output of a shell command, such as one of poppler's tools reading a PDF.
inline std::string commandOutput(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, p)) > 0)
            out.append(buffer, n);
        pclose(p);
    }
    return out;
}

inline int pdfPages(const std::string& pdf) {
    const std::string info = commandOutput("pdfinfo " + quoted(pdf));
    const std::size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

inline std::string pdfText(const std::string& pdf) {
    return commandOutput("pdftotext -layout " + quoted(pdf) + " -");
}
