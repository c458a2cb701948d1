#include "journal/JournalConfig.h"

#include "journal/JournalError.h"
#include "model/AtomicFile.h"
#include "model/OrderNumberFile.h"
#include "text/CaseFold.h"

#include <cstdlib>
#include <pwd.h>
#include <sstream>
#include <unistd.h>

namespace {

const char* environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0' ? value : nullptr;
}

} // namespace

std::filesystem::path JournalConfig::defaultFile() {
    const std::filesystem::path folder = OrderNumberFile::userDataFolder();
    return folder.empty() ? folder : folder / "journal.sqlite";
}

std::string JournalConfig::loginName() {
    if (const passwd* pw = ::getpwuid(::geteuid()); pw != nullptr && pw->pw_name != nullptr)
        return pw->pw_name;
    if (const char* user = environment("USER"))
        return user;
    return "?";
}

JournalConfig JournalConfig::resolve(const std::filesystem::path& dataFolder,
                                     const std::string& commandLineAddress) {
    JournalConfig config;
    std::string address, source, fileSalesperson;

    const std::filesystem::path file = dataFolder / "config" / "journal.conf";
    if (auto bytes = fileio::readWholeFile(file)) {
        config.configFile = file;
        std::istringstream in(*bytes);
        std::string line;
        while (std::getline(in, line)) {
            line = text::trim(line.substr(0, line.find('#')));
            const std::size_t eq = line.find('=');
            if (line.empty() || eq == std::string::npos)
                continue;
            const std::string key = text::trim(line.substr(0, eq));
            const std::string value = text::trim(line.substr(eq + 1));
            if (key == "journal") {
                address = value;
                source = file.string();
            } else if (key == "salesperson") {
                fileSalesperson = value;
            }
        }
    }
    if (const char* env = environment("TAVROLAB_JOURNAL")) {
        address = env;
        source = "TAVROLAB_JOURNAL";
    }
    if (!commandLineAddress.empty()) {
        address = commandLineAddress;
        source = "--journal";
    }

    if (const char* env = environment("TAVROLAB_SALESPERSON"))
        config.salesperson = env;
    else if (!fileSalesperson.empty())
        config.salesperson = fileSalesperson;
    else
        config.salesperson = loginName();

    if (address == "off")
        return config;
    if (address.empty()) {
        config.address = JournalAddress::sqlite(defaultFile());
        return config;
    }
    std::string reason;
    config.address = JournalAddress::parse(address, &reason);
    if (!config.address)
        throw JournalError(JournalError::BadAddress,
                           "Неверный адрес журнала заказов (" + source + "): " + reason);
    return config;
}
