#include "cli/MoneyCommands.h"

#include "cli/JournalCall.h"
#include "cli/JournalCommands.h"

#include "journal/Journal.h"
#include "journal/JournalCsv.h"
#include "journal/JournalDates.h"
#include "journal/OrderPlacing.h"
#include "model/AtomicFile.h"

#include <nlohmann/json.hpp>

#include <iostream>

namespace journalcli {
namespace {

std::string dumped(const nlohmann::json& j) {
    return j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

std::string days(const std::optional<int64_t>& d) {
    return d ? std::to_string(*d) : std::string("—");
}

int debts(Journal& journal, const Command& c) {
    const DebtReport r = journal.debts();
    const std::string csv = c.option("--csv");
    if (!csv.empty()) {
        std::string reason;
        if (!fileio::writeFileAtomically(csv, journalcsv::debts(r), &reason)) {
            std::cerr << fileio::saveErrorMessage(csv, reason) << '\n';
            return kExitSave;
        }
    }
    if (c.json) {
        nlohmann::json lines = nlohmann::json::array();
        for (const DebtLine& l : r.lines) {
            nlohmann::json j = {
                {"number", l.order.number},
                {"placedAt", journaldates::isoTime(l.order.placedAt, l.order.utcOffset)},
                {"customer", l.order.customer},
                {"phone", l.order.phone},
                {"status", l.order.status},
                {"totalKopecks", l.order.totalKopecks},
                {"paidKopecks", l.order.paidKopecks},
                {"balanceKopecks", l.order.balanceKopecks()},
                {"daysSincePlaced", l.daysSincePlaced}};
            j["daysSinceReady"] = l.daysSinceReady ? nlohmann::json(*l.daysSinceReady) : nullptr;
            lines.push_back(j);
        }
        std::cout << dumped({{"orders", lines},
                             {"count", r.lines.size()},
                             {"totalKopecks", r.totalKopecks},
                             {"paidKopecks", r.paidKopecks},
                             {"balanceKopecks", r.balanceKopecks}});
        return kExitOk;
    }
    for (const DebtLine& l : r.lines)
        std::cout << orderplacing::numberText(l.order.number) << "  "
                  << journaldates::shownTime(l.order.placedAt, l.order.utcOffset) << "  "
                  << l.order.customer << "  " << l.order.phone << "  " << l.order.status
                  << "  итого " << journalcsv::money(l.order.totalKopecks) << "  оплачено "
                  << journalcsv::money(l.order.paidKopecks) << "  остаток "
                  << journalcsv::money(l.order.balanceKopecks()) << "  дней с оформления "
                  << l.daysSincePlaced << ", с готовности " << days(l.daysSinceReady) << '\n';
    std::cout << "Должников: " << r.lines.size() << ", итого " << journalcsv::money(r.totalKopecks)
              << " руб., оплачено " << journalcsv::money(r.paidKopecks) << " руб., остаток "
              << journalcsv::money(r.balanceKopecks) << " руб.\n";
    return kExitOk;
}

int customers(Journal& journal, const Command& c) {
    const std::vector<JournalCustomer> list = journal.customers(c.option("--search"));
    if (c.json) {
        nlohmann::json array = nlohmann::json::array();
        for (const JournalCustomer& k : list) {
            nlohmann::json orders = nlohmann::json::array();
            for (const JournalOrder& o : journal.ordersOf(k.id))
                orders.push_back({{"number", o.number},
                                  {"status", o.status},
                                  {"totalKopecks", o.totalKopecks},
                                  {"balanceKopecks", o.balanceKopecks()}});
            array.push_back({{"id", k.id},
                             {"name", k.name},
                             {"phone", k.phone},
                             {"address", k.address},
                             {"orderCount", k.orders},
                             {"totalKopecks", k.totalKopecks},
                             {"paidKopecks", k.paidKopecks},
                             {"balanceKopecks", k.balanceKopecks()},
                             {"orders", orders}});
        }
        std::cout << dumped(array);
        return kExitOk;
    }
    for (const JournalCustomer& k : list)
        std::cout << k.id << "  " << k.name << "  " << k.phone << "  " << k.address
                  << "  заказов: " << k.orders << "  на сумму " << journalcsv::money(k.totalKopecks)
                  << "  остаток " << journalcsv::money(k.balanceKopecks()) << '\n';
    std::cout << "Клиентов: " << list.size() << '\n';
    return kExitOk;
}

int history(Journal& journal, const Command& c) {
    const std::optional<int64_t> number = digitsNumber(c.words[1]);
    const std::vector<HistoryEntry> entries = journal.changes(*number);
    if (c.json) {
        nlohmann::json array = nlohmann::json::array();
        for (const HistoryEntry& e : entries)
            array.push_back({{"at", journaldates::isoTime(e.at, e.utcOffset)},
                             {"who", e.who},
                             {"byName", e.byName},
                             {"action", e.action},
                             {"subject", e.subject},
                             {"old", e.oldValue},
                             {"new", e.newValue},
                             {"note", e.note}});
        std::cout << dumped(array);
        return kExitOk;
    }
    std::cout << "История заказа " << orderplacing::numberText(*number) << ":\n";
    for (const HistoryEntry& e : entries) {
        std::cout << "  " << journaldates::shownTime(e.at, e.utcOffset) << "  " << e.who << "  "
                  << e.action;
        if (!e.subject.empty())
            std::cout << "  " << e.subject;
        if (!e.oldValue.empty() || !e.newValue.empty())
            std::cout << "  " << (e.oldValue.empty() ? "" : e.oldValue + " → ") << e.newValue;
        if (!e.note.empty())
            std::cout << "  (" << e.note << ")";
        std::cout << '\n';
    }
    return kExitOk;
}

int roles(Journal& journal) {
    journal.initRoles();
    std::cout << "Роли созданы: " << journalroles::kSalesperson << " (продавец), "
              << journalroles::kManager << " (менеджер)\n";
    return kExitOk;
}

} // namespace

bool isMoneyCommand(const Command& c) {
    const std::string& name = c.words[0];
    return name == "debts" || name == "customers" || name == "history" || name == "roles";
}

void checkMoneyCommand(const Command& c) {
    const std::string& name = c.words[0];
    if (name == "debts") {
        expectWords(c, 1, "debts [--csv ФАЙЛ] [--json]");
        allowOptions(c, {"--csv"}, true);
    } else if (name == "customers") {
        expectWords(c, 1, "customers [--search ТЕКСТ] [--json]");
        allowOptions(c, {"--search"}, true);
    } else if (name == "history") {
        expectWords(c, 2, "history N [--json]");
        allowOptions(c, {}, true);
        if (!digitsNumber(c.words[1]))
            throw ArgumentError{"неверный номер заказа: " + c.words[1]};
    } else if (name == "roles") {
        expectWords(c, 1, "roles --init");
        allowOptions(c, {"--init"}, false);
        if (c.option("--init").empty())
            throw ArgumentError{"journal roles: укажите --init"};
    }
}

int runMoneyCommand(Journal& journal, const Command& c) {
    const std::string& name = c.words[0];
    if (name == "debts")
        return debts(journal, c);
    if (name == "customers")
        return customers(journal, c);
    if (name == "history")
        return history(journal, c);
    return roles(journal);
}

} // namespace journalcli
