// Opening "Журнал заказов" on a journal of 100,000 orders (SQLite): from the window's creation to
// its first screen of rows painted (the journal's connection opened afresh each time), and then to
// the count-and-sum line; the same for a search typed into the open window, one that finds some
// orders and one that finds none (every order read). Plain timings: best, median and worst.
#include "journal/BigJournal.h"
#include "journal/JournalSession.h"
#include "ui/orders/DlgOrders.h"
#include "ui/orders/OrdersTableModel.h"
#include "ui/shared/JournalRunner.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kOrders = 100000;
constexpr int kRuns = 9;

void report(const char* what, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-52s best %7.1f ms   median %7.1f ms   worst %7.1f ms\n", what, ms.front(),
                ms[ms.size() / 2], ms.back());
}

} // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    std::printf("Заполняю журнал: %d заказов…\n", kOrders);
    BigJournal journal(kOrders);
    const std::string url = "sqlite:" + journal.address().file.string();
    ::setenv("TAVROLAB_JOURNAL", url.c_str(), 1);

    std::vector<double> open, openSum, found, foundSum, none, noneSum;
    for (int run = 0; run < kRuns; ++run) {
        JournalRunner session(std::make_unique<JournalSession>(journal.folder()));
        QElapsedTimer timer;
        timer.start();
        DlgOrders window(session, nullptr);
        window.show();
        window.repaint(); // the first screen of rows on the screen
        open.push_back(timer.nsecsElapsed() / 1e6);
        QApplication::processEvents(); // then the count and sum line
        openSum.push_back(timer.nsecsElapsed() / 1e6);
        if (window.model()->rowCount() != OrdersTableModel::kScreenRows ||
            window.model()->summary().count != kOrders) {
            std::fprintf(stderr, "the window shows %d rows of %lld orders\n",
                         window.model()->rowCount(),
                         static_cast<long long>(window.model()->summary().count));
            return 1;
        }
        for (const bool finds : {true, false}) {
            timer.restart();
            window.searchEdit()->setText(finds ? QStringLiteral("фёдоров 12")
                                               : QStringLiteral("нет такого клиента"));
            window.repaint();
            (finds ? found : none).push_back(timer.nsecsElapsed() / 1e6);
            QApplication::processEvents();
            (finds ? foundSum : noneSum).push_back(timer.nsecsElapsed() / 1e6);
            window.searchEdit()->clear();
            QApplication::processEvents();
        }
    }
    report("Окно журнала: открытие, первый экран строк", open);
    report("Окно журнала: открытие, со строкой итогов", openSum);
    report("Поиск «фёдоров 12»: первый экран строк", found);
    report("Поиск «фёдоров 12»: со строкой итогов", foundSum);
    report("Поиск «нет такого клиента»: первый экран строк", none);
    report("Поиск «нет такого клиента»: со строкой итогов", noneSum);
    return 0;
}
