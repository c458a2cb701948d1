#include "cli/DriverLog.h"

#include "catalog/DataPaths.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <system_error>

namespace driverlog {
namespace {

void toLog(QtMsgType type, const QMessageLogContext&, const QString& message) {
    const std::filesystem::path path = file();
    if (!path.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(path.parent_path(), ec);
        if (FILE* f = std::fopen(path.c_str(), "a")) {
            const std::time_t now = std::time(nullptr);
            char when[32];
            std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", std::localtime(&now));
            std::fprintf(f, "%s %s\n", when, message.toUtf8().constData());
            std::fclose(f);
        }
    }
    if (type == QtFatalMsg)
        std::abort();
}

} // namespace

std::filesystem::path file() {
    const std::string folder = DataPaths::userStateFolder();
    if (folder.empty())
        return {};
    return std::filesystem::path(folder) / "tavrolab-cli.log";
}

void install() {
    qInstallMessageHandler(toLog);
}

} // namespace driverlog
