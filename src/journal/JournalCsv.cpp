#include "journal/JournalCsv.h"

#include "journal/JournalDates.h"
#include "journal/OrderPlacing.h"
#include "text/Format.h"

#include <initializer_list>

namespace journalcsv {
namespace {

constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";

// A field quoted when it holds the separator, a quote or a line break; quotes doubled.
std::string field(const std::string& s) {
    if (s.find_first_of(";\"\r\n") == std::string::npos)
        return s;
    std::string out = "\"";
    for (char c : s) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

std::string line(std::initializer_list<std::string> fields) {
    std::string out;
    for (const std::string& f : fields)
        out += (out.empty() ? "" : ";") + field(f);
    return out + "\r\n";
}

} // namespace

std::string money(int64_t kopecks) {
    const bool negative = kopecks < 0;
    const uint64_t a =
        negative ? 0 - static_cast<uint64_t>(kopecks) : static_cast<uint64_t>(kopecks);
    return text::format("%s%llu,%02llu", negative ? "-" : "",
                        static_cast<unsigned long long>(a / 100),
                        static_cast<unsigned long long>(a % 100));
}

std::string orders(const std::vector<JournalOrder>& rows) {
    std::string out = kByteOrderMark;
    out += line({"Номер", "Дата", "Клиент", "Телефон", "Адрес", "Система", "Дверей", "Итого, руб.",
                 "Статус", "Продавец"});
    for (const JournalOrder& o : rows)
        out += line({orderplacing::numberText(o.number),
                     journaldates::shownTime(o.placedAt, o.utcOffset), o.customer, o.phone,
                     o.address, o.system, std::to_string(o.doors), money(o.totalKopecks), o.status,
                     o.salesperson});
    return out;
}

std::string report(const MonthlyReport& r) {
    std::string out = kByteOrderMark;
    out += line({text::format("Отчет за %02d.%04d", r.month, r.year), "Заказов", "Итого, руб."});
    auto part = [&](const char* heading, const std::vector<MonthlyReport::Line>& lines) {
        out += line({heading, "", ""});
        for (const MonthlyReport::Line& l : lines)
            out += line({l.name, std::to_string(l.count), money(l.totalKopecks)});
    };
    part("По системам", r.bySystem);
    part("По продавцам", r.bySalesperson);
    out += line({"Всего", std::to_string(r.all.count), money(r.all.totalKopecks)});
    out += line({"Получено денег", "Платежей", "Сумма, руб."});
    for (const MonthlyReport::Line& l : r.receivedByMethod)
        out += line({l.name, std::to_string(l.count), money(l.totalKopecks)});
    out += line({"Возвраты", std::to_string(r.refunds.count), money(r.refunds.totalKopecks)});
    return out;
}

std::string debts(const DebtReport& r) {
    std::string out = kByteOrderMark;
    out += line({"Номер", "Дата", "Клиент", "Телефон", "Состояние", "Итого, руб.", "Оплачено, руб.",
                 "Остаток, руб.", "Дней с оформления", "Дней с готовности"});
    for (const DebtLine& l : r.lines)
        out += line({orderplacing::numberText(l.order.number),
                     journaldates::shownTime(l.order.placedAt, l.order.utcOffset), l.order.customer,
                     l.order.phone, l.order.status, money(l.order.totalKopecks),
                     money(l.order.paidKopecks), money(l.order.balanceKopecks()),
                     std::to_string(l.daysSincePlaced),
                     l.daysSinceReady ? std::to_string(*l.daysSinceReady) : std::string()});
    out += line({"Всего", std::to_string(r.lines.size()), "", "", "", money(r.totalKopecks),
                 money(r.paidKopecks), money(r.balanceKopecks), "", ""});
    return out;
}

} // namespace journalcsv
