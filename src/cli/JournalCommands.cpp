#include "cli/JournalCommands.h"

#include "cli/BatchCommands.h"
#include "cli/DriverLog.h"
#include "cli/JournalCall.h"
#include "cli/MoneyCommands.h"
#include "cli/OffcutCommands.h"
#include "cli/PdfOutput.h"

#include "journal/BatchOffcuts.h"
#include "journal/BatchOrders.h"
#include "journal/Journal.h"
#include "journal/JournalAddress.h"
#include "journal/JournalBackup.h"
#include "journal/JournalCsv.h"
#include "journal/JournalDates.h"
#include "journal/JournalError.h"
#include "journal/JournalSession.h"
#include "journal/OrderPlacing.h"
#include "journal/OrderStatus.h"
#include "model/AtomicFile.h"
#include "model/OrderNumberFile.h"
#include "model/Project.h"
#include "text/Decimal.h"

#include <nlohmann/json.hpp>

#include <QByteArray>
#include <QCryptographicHash>
#include <QSysInfo>
#include <QUuid>

#include <ctime>
#include <iostream>
#include <map>
#include <set>

namespace journalcli {

const char* const kUsage =
    "Журнал заказов:\n"
    "  tavrolab-cli [--journal АДРЕС] journal list [--from ГГГГ-ММ-ДД] [--to ГГГГ-ММ-ДД]\n"
    "               [--status СОСТОЯНИЕ] [--find ТЕКСТ] [--json]\n"
    "  tavrolab-cli [--journal АДРЕС] journal show N [--json]\n"
    "  tavrolab-cli [--journal АДРЕС] journal open N OUT.tav\n"
    "  tavrolab-cli [--journal АДРЕС] journal status N СОСТОЯНИЕ\n"
    "  tavrolab-cli [--journal АДРЕС] journal report ГГГГ-ММ [--json]\n"
    "  tavrolab-cli [--journal АДРЕС] journal pay N СУММА --kind ВИД --method СПОСОБ\n"
    "               [--note ТЕКСТ] [--key КЛЮЧ] [--pdf КВИТАНЦИЯ.pdf]\n"
    "  tavrolab-cli [--journal АДРЕС] journal debts [--csv ФАЙЛ.csv] [--json]\n"
    "  tavrolab-cli [--journal АДРЕС] journal customers [--search ТЕКСТ] [--json]\n"
    "  tavrolab-cli [--journal АДРЕС] journal history N [--json]\n"
    "  tavrolab-cli [--journal АДРЕС] journal roles --init\n"
    "  tavrolab-cli [--journal АДРЕС] FILE.tav|--new ... --place [--save OUT.tav]\n"
    "Партии (заказы, раскроенные вместе):\n"
    "  tavrolab-cli [--journal АДРЕС] journal batch (--orders N,N,... |\n"
    "               --from ГГГГ-ММ-ДД --to ГГГГ-ММ-ДД [--status СОСТОЯНИЕ])\n"
    "               [--plan OUT.json|-] [--pack OUT.pdf] [--commit]\n"
    "  tavrolab-cli [--journal АДРЕС] journal batch show N [--plan OUT.json|-] [--pack OUT.pdf]\n"
    "  tavrolab-cli [--journal АДРЕС] journal batch cancel N\n"
    "  --commit запускает партию в производство; последняя строка вывода — номер партии.\n"
    "Копии журнала:\n"
    "  tavrolab-cli [--journal АДРЕС] journal backup ФАЙЛ\n"
    "  tavrolab-cli [--journal АДРЕС] journal restore ФАЙЛ\n"
    "  (SQLite: копия средствами SQLite; PostgreSQL: pg_dump в его формате custom;\n"
    "  восстановление проверяет копию и сохраняет прежний журнал рядом)\n"
    "Склад остатков:\n"
    "  tavrolab-cli [--journal АДРЕС] journal offcuts list [--article А] [--color Ц]\n"
    "               [--material М] [--state СОСТОЯНИЕ] [--json]\n"
    "  tavrolab-cli [--journal АДРЕС] journal offcuts show ID [--json]\n"
    "  tavrolab-cli [--journal АДРЕС] journal offcuts add --article А --color Ц --length ММ\n"
    "               [--place МЕСТО]\n"
    "  tavrolab-cli [--journal АДРЕС] journal offcuts add --group Г --material М\n"
    "               --size ШИРИНАxВЫСОТА [--rotate] [--place МЕСТО]\n"
    "  tavrolab-cli [--journal АДРЕС] journal offcuts scrap ID [--note ТЕКСТ]\n"
    "  tavrolab-cli [--journal АДРЕС] journal offcuts move ID --place МЕСТО\n"
    "ID: номер остатка с этикетки (О-000123); высота листа — вдоль волокна, --rotate: лист\n"
    "  без рисунка можно повернуть. Состояния остатка: На складе, Зарезервирован,\n"
    "  Использован, Списан.\n"
    "АДРЕС: sqlite:ПУТЬ или postgresql:///база?host=/run/postgresql\n"
    "СОСТОЯНИЕ: Принят, В производстве, Готов, Доставлен, Отменён\n"
    "Оплата: СУММА в рублях, копейки после запятой или точки (1500,50); ВИД: Предоплата,\n"
    "  Оплата, Возврат; СПОСОБ: Наличные, Карта, Безналичный расчет. Больше остатка заказа\n"
    "  не принимается, возврат не больше оплаченного, по отмененному заказу только возврат.\n"
    "  Повтор с тем же --key (после оборванной связи) не записывает платеж второй раз.\n"
    "Коды завершения: 0 успех, 3 ошибка записи, 5 журнал недоступен или отказал,\n"
    "6 нет такого заказа или остатка, 7 сервер журнала заказов не отвечает, 64 неверный вызов.\n"
    "Каждое действие с журналом длится не дольше 20 с (TAVROLAB_JOURNAL_DEADLINE_MS).\n";

namespace {

// Options that take a value, and those that are a word alone.
const std::set<std::string> kValued = {
    "--from",   "--to",     "--status", "--find", "--article", "--color",  "--group", "--material",
    "--length", "--size",   "--place",  "--note", "--state",   "--orders", "--plan",  "--pack",
    "--kind",   "--method", "--key",    "--pdf",  "--csv",     "--search"};
const std::set<std::string> kFlags = {"--rotate", "--commit", "--init"};

Command parse(const std::vector<std::string>& args) {
    Command c;
    bool seenJournal = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= args.size())
                throw ArgumentError{"для " + a + " не указано значение"};
            return args[++i];
        };
        auto once = [&](std::optional<std::string>& slot) {
            if (slot)
                throw ArgumentError{a + " указан дважды"};
            slot = value();
        };
        if (a == "--journal")
            once(c.journal);
        else if (a == "--data")
            once(c.data);
        else if (a == "--json")
            c.json = true;
        else if (kValued.count(a) || kFlags.count(a)) {
            if (c.options.count(a))
                throw ArgumentError{a + " указан дважды"};
            c.options[a] = kFlags.count(a) ? "да" : value();
        } else if (a.size() > 1 && a[0] == '-')
            throw ArgumentError{"неизвестный параметр " + a};
        else if (!seenJournal && a == "journal")
            seenJournal = true;
        else
            c.words.push_back(a);
    }
    if (c.words.empty())
        throw ArgumentError{"не указана команда журнала"};
    return c;
}

int64_t orderNumber(const std::string& text) {
    const std::optional<int64_t> n = digitsNumber(text);
    if (!n)
        throw ArgumentError{"номер заказа должен состоять из цифр: " + text};
    return *n;
}

std::string status(const std::string& text) {
    if (!orderstatus::isKnown(text))
        throw ArgumentError{"неизвестное состояние заказа: " + text +
                            " (Принят, В производстве, Готов, Доставлен, Отменён)"};
    return text;
}

// "1500", "1500,5", "1500.50": roubles with at most two places of kopecks, above zero.
int64_t amount(const std::string& text) {
    const text::Decimal d = text::parseDecimal(text, 2);
    if (d.fault != text::Decimal::Fault::None || text.find_first_of("0123456789") != 0)
        throw ArgumentError{"неверная сумма: " + text +
                            " (рубли, копейки после запятой или точки: 1500,50)"};
    if (d.value <= 0)
        throw ArgumentError{"сумма должна быть больше нуля: " + text};
    return d.value;
}

template <typename List>
std::string oneOf(const List& list, const std::string& text, const std::string& what) {
    if (journalpayment::isOneOf(list, text))
        return text;
    std::string names;
    for (std::string_view s : list)
        names += (names.empty() ? "" : ", ") + std::string(s);
    throw ArgumentError{what + ": " + text + " (" + names + ")"};
}

void checkPay(const Command& c) {
    expectWords(c, 3, "pay N СУММА --kind ВИД --method СПОСОБ");
    allowOptions(c, {"--kind", "--method", "--note", "--key", "--pdf"}, false);
    orderNumber(c.words[1]);
    amount(c.words[2]);
    if (!c.options.count("--kind"))
        throw ArgumentError{"не указан вид платежа --kind (Предоплата, Оплата, Возврат)"};
    if (!c.options.count("--method"))
        throw ArgumentError{
            "не указан способ оплаты --method (Наличные, Карта, Безналичный расчет)"};
    oneOf(journalpayment::kKinds, c.option("--kind"), "неизвестный вид платежа");
    oneOf(journalpayment::kMethods, c.option("--method"), "неизвестный способ оплаты");
}

nlohmann::json paymentJson(const JournalPayment& p) {
    return {{"id", p.id},
            {"amountKopecks", p.amountKopecks},
            {"kind", p.kind},
            {"method", p.method},
            {"at", journaldates::isoTime(p.takenAt, p.utcOffset)},
            {"by", p.takenBy},
            {"note", p.note}};
}

nlohmann::json listedJson(const JournalOrder& o) {
    return {{"number", o.number},     {"placedAt", journaldates::isoTime(o.placedAt, o.utcOffset)},
            {"customer", o.customer}, {"phone", o.phone},
            {"address", o.address},   {"system", o.system},
            {"doors", o.doors},       {"totalKopecks", o.totalKopecks},
            {"status", o.status}};
}

std::string dumped(const nlohmann::json& j) {
    return j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

std::string rowText(const JournalOrder& o) {
    return orderplacing::numberText(o.number) + "  " +
           journaldates::shownTime(o.placedAt, o.utcOffset) + "  " + o.customer + "  " + o.phone +
           "  " + o.system + "  " + std::to_string(o.doors) + "  " +
           journalcsv::money(o.totalKopecks) + "  " + o.status;
}

int list(Journal& journal, const Command& c) {
    expectWords(c, 1, "list [--from ГГГГ-ММ-ДД] [--to ГГГГ-ММ-ДД] [--status С] [--find Т]");
    allowOptions(c, {"--from", "--to", "--status", "--find"}, true);
    OrderFilter f;
    auto day = [&](const char* key, bool dayAfter) -> std::optional<int64_t> {
        auto it = c.options.find(key);
        if (it == c.options.end())
            return std::nullopt;
        auto t = journaldates::parseDay(it->second, dayAfter);
        if (!t)
            throw ArgumentError{std::string("неверная дата ") + key + ": " + it->second};
        return t;
    };
    f.from = day("--from", false);
    f.to = day("--to", true);
    if (auto it = c.options.find("--status"); it != c.options.end())
        f.status = status(it->second);
    if (auto it = c.options.find("--find"); it != c.options.end())
        f.find = it->second;
    f.descending = false;
    const std::vector<JournalOrder> orders = journal.list(f);
    if (c.json) {
        nlohmann::json array = nlohmann::json::array();
        for (const JournalOrder& o : orders)
            array.push_back(listedJson(o));
        std::cout << dumped(array);
    } else {
        int64_t total = 0;
        for (const JournalOrder& o : orders) {
            std::cout << rowText(o) << '\n';
            total += o.totalKopecks;
        }
        std::cout << "Заказов: " << orders.size() << ", на сумму " << journalcsv::money(total)
                  << " руб.\n";
    }
    return kExitOk;
}

int show(Journal& journal, const Command& c) {
    expectWords(c, 2, "show N");
    allowOptions(c, {}, true);
    const JournalOrder o = journal.order(orderNumber(c.words[1]));
    const std::vector<StatusChange> history = journal.history(o.number);
    const std::vector<JournalPayment> payments = journal.payments(o.number);
    if (c.json) {
        nlohmann::json j = listedJson(o);
        j["salesperson"] = o.salesperson;
        j["openingWidth"] = o.openingWidth;
        j["openingHeight"] = o.openingHeight;
        j["sumKopecks"] = o.sumKopecks;
        j["discountKopecks"] = o.discountKopecks;
        j["assemblyKopecks"] = o.assemblyKopecks;
        j["deliveryKopecks"] = o.deliveryKopecks;
        j["filePath"] = o.filePath;
        nlohmann::json changes = nlohmann::json::array();
        for (const StatusChange& h : history)
            changes.push_back({{"status", h.status},
                               {"at", journaldates::isoTime(h.at, journaldates::utcOffsetAt(h.at))},
                               {"by", h.by}});
        j["history"] = changes;
        nlohmann::json paid = nlohmann::json::array();
        for (const JournalPayment& p : payments)
            paid.push_back(paymentJson(p));
        j["payments"] = paid;
        j["paidKopecks"] = o.paidKopecks;
        j["balanceKopecks"] = o.balanceKopecks();
        j["revision"] = o.revision;
        j["customerId"] = o.customerId;
        nlohmann::json revisions = nlohmann::json::array();
        for (const OrderRevision& r : journal.revisions(o.number))
            revisions.push_back(
                {{"revision", r.revision},
                 {"at", journaldates::isoTime(r.madeAt, journaldates::utcOffsetAt(r.madeAt))},
                 {"by", r.madeBy},
                 {"reason", r.reason},
                 {"totalKopecks", r.totalKopecks}});
        j["revisions"] = revisions;
        std::cout << dumped(j);
        return kExitOk;
    }
    std::cout << "Заказ " << orderplacing::numberText(o.number) << '\n'
              << "Дата: " << journaldates::shownTime(o.placedAt, o.utcOffset) << '\n'
              << "Продавец: " << o.salesperson << '\n'
              << "Клиент: " << o.customer << '\n'
              << "Телефон: " << o.phone << '\n'
              << "Адрес: " << o.address << '\n'
              << "Система: " << o.system << ", дверей: " << o.doors << ", проем "
              << o.openingWidth / 10 << " x " << o.openingHeight / 10 << " мм\n"
              << "Сумма: " << journalcsv::money(o.sumKopecks)
              << " руб., скидка: " << journalcsv::money(o.discountKopecks)
              << " руб., сборка: " << journalcsv::money(o.assemblyKopecks)
              << " руб., доставка: " << journalcsv::money(o.deliveryKopecks) << " руб.\n"
              << "Итого: " << journalcsv::money(o.totalKopecks) << " руб.\n"
              << "Оплачено: " << journalcsv::money(o.paidKopecks)
              << " руб., остаток: " << journalcsv::money(o.balanceKopecks()) << " руб.\n"
              << "Состояние: " << o.status << '\n'
              << "Редакция: " << o.revision << '\n'
              << "Файл: " << o.filePath << '\n'
              << "История:\n";
    for (const StatusChange& h : history)
        std::cout << "  " << journaldates::shownTime(h.at, journaldates::utcOffsetAt(h.at)) << "  "
                  << h.status << "  " << h.by << '\n';
    if (!payments.empty())
        std::cout << "Платежи:\n";
    for (const JournalPayment& p : payments)
        std::cout << "  " << journaldates::shownTime(p.takenAt, p.utcOffset) << "  " << p.kind
                  << "  " << journalcsv::money(p.amountKopecks) << " руб.  " << p.method << "  "
                  << p.takenBy << (p.note.empty() ? "" : "  " + p.note) << '\n';
    return kExitOk;
}

// pay N AMOUNT: one payment through the session with its exactly-once key, then the receipt.
int pay(JournalSession& session, const Command& c, const std::string& dataFolder) {
    const int64_t number = orderNumber(c.words[1]);
    const std::string key =
        c.options.count("--key")
            ? c.option("--key")
            : "cli:" + QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
    const std::string pdf = c.option("--pdf");
    if (!pdf.empty())
        pdfoutput::prepareDrawing();
    using Action = JournalSession::Action;
    const JournalPayment p = session.run(Action::KeyedWrite, [&](Journal& journal) {
        return journal.pay(number, amount(c.words[2]), c.option("--kind"), c.option("--method"),
                           c.option("--note"), session.salesperson(), key);
    });
    const auto [order, payments] = session.run(Action::Read, [&](Journal& journal) {
        return std::make_pair(journal.order(number), journal.payments(number));
    });
    const int64_t balance = journalpayment::balanceAfter(order.totalKopecks, payments, p.id);
    std::cout << "Платеж принят: " << p.kind << " " << journalcsv::money(p.amountKopecks)
              << " руб. (" << p.method << ") по заказу " << orderplacing::numberText(number)
              << ", остаток " << journalcsv::money(balance) << " руб.\n";
    if (!pdf.empty()) {
        const std::string error = pdfoutput::writeReceipt(order, p, balance, dataFolder, pdf);
        if (!error.empty()) {
            std::cerr << "tavrolab-cli: " << error << '\n';
            return kExitSave;
        }
    }
    return kExitOk;
}

int open(Journal& journal, const Command& c) {
    expectWords(c, 3, "open N OUT.tav");
    allowOptions(c, {}, false);
    const JournalDocuments documents = journal.documents(orderNumber(c.words[1]));
    std::string reason;
    if (!fileio::writeFileAtomically(c.words[2], documents.sketch, &reason)) {
        std::cerr << fileio::saveErrorMessage(c.words[2], reason) << '\n';
        return kExitSave;
    }
    return kExitOk;
}

int report(Journal& journal, const Command& c) {
    expectWords(c, 2, "report ГГГГ-ММ");
    allowOptions(c, {}, true);
    const auto month = journaldates::parseMonth(c.words[1]);
    if (!month)
        throw ArgumentError{"неверный месяц (ГГГГ-ММ): " + c.words[1]};
    const MonthlyReport r = journal.report(month->first, month->second);
    if (c.json) {
        auto lines = [](const std::vector<MonthlyReport::Line>& ls, const char* key) {
            nlohmann::json array = nlohmann::json::array();
            for (const MonthlyReport::Line& l : ls)
                array.push_back(
                    {{key, l.name}, {"orders", l.count}, {"totalKopecks", l.totalKopecks}});
            return array;
        };
        std::cout << dumped({{"month", c.words[1]},
                             {"orders", r.all.count},
                             {"totalKopecks", r.all.totalKopecks},
                             {"bySystem", lines(r.bySystem, "system")},
                             {"bySalesperson", lines(r.bySalesperson, "salesperson")},
                             {"receivedByMethod", lines(r.receivedByMethod, "method")},
                             {"refunds", r.refunds.count},
                             {"refundedKopecks", r.refunds.totalKopecks}});
        return kExitOk;
    }
    std::cout << "Отчет за " << c.words[1].substr(5) << "." << c.words[1].substr(0, 4)
              << " (без отмененных заказов)\n";
    auto part = [](const char* heading, const std::vector<MonthlyReport::Line>& ls) {
        std::cout << heading << ":\n";
        for (const MonthlyReport::Line& l : ls)
            std::cout << "  " << l.name << "  заказов: " << l.count
                      << "  на сумму: " << journalcsv::money(l.totalKopecks) << " руб.\n";
    };
    part("По системам", r.bySystem);
    part("По продавцам", r.bySalesperson);
    std::cout << "Всего заказов: " << r.all.count
              << ", на сумму: " << journalcsv::money(r.all.totalKopecks) << " руб.\n";
    std::cout << "Получено денег:\n";
    for (const MonthlyReport::Line& l : r.receivedByMethod)
        std::cout << "  " << l.name << "  платежей: " << l.count
                  << "  на сумму: " << journalcsv::money(l.totalKopecks) << " руб.\n";
    std::cout << "Возвраты: " << r.refunds.count
              << ", на сумму: " << journalcsv::money(r.refunds.totalKopecks) << " руб.\n";
    return kExitOk;
}

// backup FILE and restore FILE: the journal is not opened as for the other commands (a restore
// must find it closed).
int copyCommand(const JournalAddress& address, const Command& c) {
    const std::string& file = c.words[1];
    if (c.words[0] == "backup") {
        const journalbackup::Copy copy = journalbackup::backup(address, file);
        std::cout << "Копия журнала записана: " << file << " (заказов: " << copy.orders << ")\n";
        return kExitOk;
    }
    const journalbackup::Copy copy = journalbackup::restore(address, file);
    std::cout << "Журнал восстановлен из " << file << " (заказов: " << copy.orders << ")\n";
    if (!copy.kept.empty())
        std::cout << "Прежний журнал сохранен: " << copy.kept << '\n';
    return kExitOk;
}

int failed(const JournalError& e) {
    std::cerr << "tavrolab-cli: " << e.what() << '\n';
    if (e.kind() == JournalError::NoSuchOrder || e.kind() == JournalError::NoSuchOffcut)
        return kExitNoOrder;
    if (e.kind() == JournalError::NotSaved)
        return kExitSave;
    if (e.kind() == JournalError::NotAnswering)
        return kExitNotAnswering;
    // A refused payment and the other refusals of the journal's rules.
    return kExitJournal;
}

// A --journal address that cannot be understood is a wrong call, not a refusing journal.
void checkAddress(const std::optional<std::string>& address) {
    std::string reason;
    if (address && *address != "off" && !JournalAddress::parse(*address, &reason))
        throw ArgumentError{"неверный адрес журнала " + *address + ": " + reason};
}

} // namespace

std::optional<int64_t> digitsNumber(const std::string& text) {
    if (text.empty() || text.size() > 15 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoll(text);
}

void expectWords(const Command& c, std::size_t count, const std::string& form) {
    if (c.words.size() != count)
        throw ArgumentError{"ожидается: journal " + form};
}

void allowOptions(const Command& c, std::initializer_list<const char*> allowed, bool json) {
    for (const auto& [key, value] : c.options) {
        bool ok = false;
        for (const char* a : allowed)
            ok = ok || key == a;
        if (!ok)
            throw ArgumentError{key + " не относится к команде journal " + c.words[0]};
    }
    if (c.json && !json)
        throw ArgumentError{"--json не относится к команде journal " + c.words[0]};
}

bool isJournalCommand(const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--journal" || args[i] == "--data")
            ++i;
        else
            return args[i] == "journal";
    }
    return false;
}

int runJournalCommand(const std::vector<std::string>& args, const std::string& programFolder) {
    driverlog::install();
    try {
        for (const std::string& a : args)
            if (a == "--help" || a == "-h") {
                std::cout << kUsage;
                return kExitOk;
            }
        const Command c = parse(args);
        checkAddress(c.journal);
        const std::string& name = c.words[0];
        if (name != "list" && name != "show" && name != "open" && name != "status" &&
            name != "report" && name != "offcuts" && name != "batch" && name != "backup" &&
            name != "restore" && name != "pay" && !isMoneyCommand(c))
            throw ArgumentError{"неизвестная команда журнала: " + name};
        if (isMoneyCommand(c))
            checkMoneyCommand(c);
        if (name == "offcuts")
            checkOffcutCommand(c);
        if (name == "batch")
            checkBatchCommand(c);
        // Arguments are checked before the journal is reached.
        if (name == "status") {
            expectWords(c, 3, "status N СОСТОЯНИЕ");
            allowOptions(c, {}, false);
            orderNumber(c.words[1]);
            status(c.words[2]);
        }
        if (name == "pay")
            checkPay(c);
        if (name == "backup" || name == "restore") {
            expectWords(c, 2, name + " FILE");
            allowOptions(c, {}, false);
        }
        JournalSession session(c.data ? *c.data : programFolder, c.journal ? *c.journal : "");
        try {
            if (name == "backup" || name == "restore")
                return copyCommand(session.address(), c);
            using Action = JournalSession::Action;
            auto read = [&](int (*command)(Journal&, const Command&)) {
                return session.run(Action::Read,
                                   [&](Journal& journal) { return command(journal, c); });
            };
            if (name == "list")
                return read(list);
            if (name == "show")
                return read(show);
            if (name == "open")
                return read(open);
            if (name == "report")
                return read(report);
            if (name == "pay")
                return pay(session, c, c.data ? *c.data : programFolder);
            if (name == "roles")
                return session.run(Action::Write,
                                   [&](Journal& journal) { return runMoneyCommand(journal, c); });
            if (isMoneyCommand(c))
                return session.run(Action::Read,
                                   [&](Journal& journal) { return runMoneyCommand(journal, c); });
            if (name == "offcuts")
                return session.run(Action::Write, [&](Journal& journal) {
                    return runOffcutCommand(journal, c, session.salesperson());
                });
            // A batch's planning may take longer than one action: its statements keep the
            // limit each by itself.
            if (name == "batch")
                return runBatchCommand(session.journal(), c, c.data ? *c.data : programFolder,
                                       session.salesperson());
            session.run(Action::Write, [&](Journal& journal) {
                journal.setStatus(orderNumber(c.words[1]), c.words[2], session.salesperson());
            });
            return kExitOk;
        } catch (const JournalError& e) {
            return failed(e);
        }
    } catch (const ArgumentError& e) {
        std::cerr << "tavrolab-cli: " << e.message << "\n\n" << kUsage;
        return kExitUsage;
    }
}

void countFromStore(CuttingPlan& plan, const Project& project, const std::string& dataFolder,
                    const std::optional<std::string>& journalAddress) {
    driverlog::install();
    JournalSession session(dataFolder, journalAddress ? *journalAddress : "");
    if (!session.enabled())
        return;
    try {
        if (!batchorders::hasStore(session.address()))
            return;
        const std::vector<StoreOffcut> onStock =
            session.run(JournalSession::Action::Read, [](Journal& journal) {
                OffcutStore store = journal.offcuts();
                return batchoffcuts::onStock(store);
            });
        batchorders::countFromStore(plan, project, onStock);
    } catch (const JournalError& e) {
        std::cerr << "tavrolab-cli: склад остатков не прочитан: " << e.what() << '\n';
    }
}

int placeOrder(Project& project, const std::string& dataFolder,
               const std::optional<std::string>& journalAddress,
               const std::optional<std::string>& savePath, const std::string& sketchBytes,
               bool again) {
    driverlog::install();
    try {
        checkAddress(journalAddress);
    } catch (const ArgumentError& e) {
        std::cerr << "tavrolab-cli: " << e.message << '\n';
        return kExitUsage;
    }
    JournalSession session(dataFolder, journalAddress ? *journalAddress : "");
    using Action = JournalSession::Action;
    try {
        const std::string seat =
            QSysInfo::machineHostName().toStdString() + "/" + session.salesperson();
        std::string key = "cli:" + seat + ":" +
                          QCryptographicHash::hash(QByteArray::fromStdString(sketchBytes),
                                                   QCryptographicHash::Sha256)
                              .toHex()
                              .toStdString();
        const int64_t now = static_cast<int64_t>(std::time(nullptr));
        const auto before =
            session.run(Action::Read, [&](Journal& journal) { return journal.placedWith(key); });
        if (before && !again && now - before->at < 24 * 3600) {
            std::cerr << "tavrolab-cli: Заказ уже оформлен под номером "
                      << orderplacing::numberText(before->number)
                      << " (повторить оформление: --again)\n";
            return kExitNoOrder;
        }
        // Placed again on purpose, or a day later: a key of its own.
        if (again || before)
            key += ":" + QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
        // Repeated after a lost answer, the placing with its key answers with its first number.
        const int64_t number = session.run(Action::KeyedWrite, [&](Journal& journal) {
            return orderplacing::place(journal, project, OrderNumberFile(dataFolder),
                                       session.salesperson(), savePath ? *savePath : std::string(),
                                       {}, key);
        });
        std::cout << number << '\n';
        return kExitOk;
    } catch (const JournalError& e) {
        return failed(e);
    }
}

} // namespace journalcli
