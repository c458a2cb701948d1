#include "journal/PendingPlacings.h"

#include "catalog/DataPaths.h"
#include "journal/JournalError.h"
#include "journal/OrderPlacing.h"
#include "model/AtomicFile.h"
#include "model/Project.h"
#include "model/SketchFile.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

namespace {

constexpr const char* kSuffix = ".pending";

// A value on one line: "%" and line breaks written as %25, %0A and %0D.
std::string escaped(const std::string& value) {
    std::string out;
    for (char c : value) {
        if (c == '%')
            out += "%25";
        else if (c == '\n')
            out += "%0A";
        else if (c == '\r')
            out += "%0D";
        else
            out += c;
    }
    return out;
}

std::string unescaped(const std::string& value) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '%' && i + 2 < value.size()) {
            const std::string code = value.substr(i + 1, 2);
            if (code == "25" || code == "0A" || code == "0D") {
                out += code == "25" ? '%' : (code == "0A" ? '\n' : '\r');
                i += 2;
                continue;
            }
        }
        out += value[i];
    }
    return out;
}

// A key names its file: letters, digits and "-" only, as a seat's UUID is written.
bool usableKey(const std::string& key) {
    return !key.empty() && key.size() <= 64 && std::all_of(key.begin(), key.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
               c == '-';
    });
}

} // namespace

PendingPlacings::PendingPlacings(std::filesystem::path folder) : folder_(std::move(folder)) {
    if (folder_.empty()) {
        const std::string state = DataPaths::userStateFolder();
        if (!state.empty())
            folder_ = std::filesystem::path(state) / "pending";
    }
}

std::filesystem::path PendingPlacings::entryPath(const std::string& key) const {
    return folder_ / (key + kSuffix);
}

void PendingPlacings::add(const PendingPlacing& placing) const {
    if (folder_.empty())
        throw std::runtime_error("Не удалось сохранить заказ для оформления: нет папки состояния "
                                 "пользователя");
    if (!usableKey(placing.key))
        throw std::runtime_error("Не удалось сохранить заказ для оформления: неверный ключ");
    std::error_code ec;
    std::filesystem::create_directories(folder_, ec);
    std::ostringstream text;
    text << "key=" << placing.key << '\n'
         << "sketch=" << escaped(placing.sketch.string()) << '\n'
         << "salesperson=" << escaped(placing.salesperson) << '\n'
         << "offered=" << escaped(placing.offered) << '\n'
         << "since=" << placing.since << '\n';
    std::string reason;
    if (!fileio::writeFileAtomically(entryPath(placing.key), text.str(), &reason))
        throw std::runtime_error("Не удалось сохранить заказ для оформления: " +
                                 fileio::saveErrorMessage(entryPath(placing.key).string(), reason));
}

std::vector<PendingPlacing> PendingPlacings::list() const {
    std::vector<PendingPlacing> out;
    std::error_code ec;
    if (folder_.empty() || !std::filesystem::is_directory(folder_, ec))
        return out;
    for (const auto& entry : std::filesystem::directory_iterator(folder_, ec)) {
        if (entry.path().extension() != kSuffix)
            continue;
        const std::optional<std::string> bytes = fileio::readWholeFile(entry.path());
        if (!bytes)
            continue;
        PendingPlacing p;
        std::istringstream lines(*bytes);
        for (std::string line; std::getline(lines, line);) {
            const size_t eq = line.find('=');
            if (eq == std::string::npos)
                continue;
            const std::string name = line.substr(0, eq), value = unescaped(line.substr(eq + 1));
            if (name == "key")
                p.key = value;
            else if (name == "sketch")
                p.sketch = value;
            else if (name == "salesperson")
                p.salesperson = value;
            else if (name == "offered")
                p.offered = value;
            else if (name == "since")
                p.since = std::strtoll(value.c_str(), nullptr, 10);
        }
        // An entry is its file: one whose key does not name it is not one of ours.
        if (usableKey(p.key) && entry.path().filename() == p.key + kSuffix && !p.sketch.empty())
            out.push_back(std::move(p));
    }
    std::stable_sort(out.begin(), out.end(), [](const PendingPlacing& a, const PendingPlacing& b) {
        return a.since != b.since ? a.since < b.since : a.key < b.key;
    });
    return out;
}

void PendingPlacings::remove(const std::string& key) const {
    if (!usableKey(key))
        return;
    std::error_code ec;
    std::filesystem::remove(entryPath(key), ec);
}

PendingPlacings::Outcome PendingPlacings::placeAll(Journal& journal, Catalog& catalog,
                                                   const OrderNumberFile& numbers) const {
    Outcome outcome;
    for (const PendingPlacing& p : list()) {
        Project project(catalog);
        const int read = SketchFile::read(project, p.sketch);
        if (read != SketchFile::ReadOk) {
            outcome.problems.push_back(SketchFile::openErrorMessage(read, p.sketch.string()));
            continue;
        }
        try {
            const int64_t number = orderplacing::place(journal, project, numbers, p.salesperson,
                                                       p.sketch, p.offered, p.key);
            remove(p.key);
            outcome.placed.push_back(
                {p, number, orderplacing::savedPathFor(p.sketch, p.offered, number)});
        } catch (const JournalError& e) {
            if (e.kind() == JournalError::NotSaved || e.kind() == JournalError::Failed) {
                outcome.problems.push_back(e.what());
                continue;
            }
            outcome.problems.push_back(e.what());
            outcome.journalAway = true;
            break;
        }
    }
    return outcome;
}
