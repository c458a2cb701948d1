#pragma once

#include "journal/Journal.h"
#include "journal/JournalConnection.h"
#include "journal/JournalDates.h"
#include "journal/JournalRows.h"

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>

// For the benchmarks: an SQLite journal of many orders over three years (customers, phones,
// systems, statuses and money spread at random), filled in one transaction in a temporary
// folder that is removed at the end.
class BigJournal {
public:
    explicit BigJournal(int orders) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tavbench-journal-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary folder");
        folder_ = pattern;
        address_ = JournalAddress::sqlite(folder_ / "journal.sqlite");
        fill(orders);
    }
    ~BigJournal() {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    BigJournal(const BigJournal&) = delete;
    BigJournal& operator=(const BigJournal&) = delete;

    const JournalAddress& address() const { return address_; }
    const std::filesystem::path& folder() const { return folder_; }
    int64_t firstDay() const { return *journaldates::localDayStart(2024, 1, 1); }

private:
    void fill(int orders) {
        static const char* const surnames[] = {"Иванов",   "Петров",   "Сидоров",  "Кузнецов",
                                               "Смирнов",  "Попов",    "Васильев", "Соколов",
                                               "Михайлов", "Новиков",  "Фёдоров",  "Морозов",
                                               "Волков",   "Алексеев", "Лебедев"};
        static const char* const systems[] = {"Ловен", "Мелоза", "Тавро", "Стенвик", "Гартис"};
        static const char* const statuses[] = {"Принят", "В производстве", "Готов", "Доставлен",
                                               "Отменён"};
        { Journal create(address_); }
        JournalConnection db(address_);
        std::mt19937 random(7);
        db.beginWrite();
        for (int n = 1; n <= orders; ++n) {
            JournalOrder o;
            o.number = n;
            o.placedAt = firstDay() + int64_t{n} * (3 * 365 * 86400 / orders);
            o.utcOffset = 3 * 3600;
            o.salesperson = n % 3 == 0 ? "Анна" : "Олег";
            o.customer = std::string(surnames[random() % 15]) + " " + std::to_string(n);
            o.phone = "+7 9" + std::to_string(100000000 + random() % 900000000);
            o.address = "ул. Садовая, " + std::to_string(n % 200);
            o.system = systems[random() % 5];
            o.doors = 2 + static_cast<int>(random() % 3);
            o.totalKopecks = 1000000 + static_cast<int64_t>(random() % 10000000);
            o.status = statuses[random() % 5];
            db.run(journalrows::kInsert, journalrows::insertValues(o));
        }
        db.run("UPDATE journal_counter SET next_number = ?", {orders + 1});
        db.commit();
    }

    std::filesystem::path folder_;
    JournalAddress address_;
};
