// The order journal on the command line: placing, listing, showing, opening, statuses and the
// monthly report, on SQLite and on the run's own PostgreSQL server, and the exit codes of what
// goes wrong.

#include "cli/CliRun.h"
#include "journal/JournalBackend.h"
#include "journal/PostgresServer.h"
#include "journal/TcpProxy.h"
#include "support/OutputTestSupport.h"

#include "calc/RowFormat.h"
#include "catalog/ProfileColor.h"
#include "model/SketchFile.h"
#include "text/MoneyWords.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include <nlohmann/json.hpp>

#include <chrono>

using namespace outtest;

namespace {

// The last line of a text, without its line end.
std::string lastLine(const std::string& text) {
    std::string t = text;
    while (!t.empty() && t.back() == '\n')
        t.pop_back();
    return t.substr(t.rfind('\n') == std::string::npos ? 0 : t.rfind('\n') + 1);
}

std::string urlOf(const JournalAddress& a) {
    if (a.backend == JournalAddress::Backend::Sqlite)
        return "sqlite:" + a.file.string();
    return "postgresql://" + a.user + "@/" + a.database + "?host=" + a.host;
}

class JournalCli : public JournalBackendTest {
protected:
    void SetUp() override {
        ::setenv("TZ", "UTC", 1);
        ::setenv("TAVROLAB_SALESPERSON", "Петрова", 1);
        ASSERT_TRUE(buildSampleProject(world, "Ловен"));
        sample = path("заказ.tav");
        ASSERT_EQ(SketchFile::write(*world.project, sample), SketchFile::WriteOk);
        writeFile(world.base() / "config" / "number.txt", "41");
    }
    void TearDown() override { ::unsetenv("TAVROLAB_SALESPERSON"); }

    CliRun run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--data", world.base().string(), "--journal", urlOf(address())});
        return cli(world.dir, args);
    }
    std::string path(const std::string& name) const { return (world.dir / name).string(); }

    World world;
    std::string sample;
};
TAV_ON_BOTH_BACKENDS(JournalCli);

} // namespace

TEST_P(JournalCli, PlacedOrdersAreListedShownOpenedAndTheirStatusChanged) {
    CliRun r = run({sample, "--place", "--customer", "Ёлкина \"Анна\"; 😀", "--phone",
                    "+7 (912) 345-67-89", "--save", path("placed.tav")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(lastLine(r.out), "41"); // the number file's number continues
    r = run({"--new", "--system", "Тавро", "--customer", "Петров", "--place"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "42\n");
    // The number file moved on with the journal.
    EXPECT_EQ(readFile(world.base() / "config" / "number.txt"), "43");

    r = run({"journal", "list", "--find", "ЁЛКИНА", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json list = nlohmann::json::parse(r.out);
    ASSERT_EQ(list.size(), 1u);
    const nlohmann::json& o = list[0];
    EXPECT_EQ(o["number"], 41);
    EXPECT_EQ(o["customer"], "Ёлкина \"Анна\"; 😀");
    EXPECT_EQ(o["phone"], "+7 (912) 345-67-89");
    EXPECT_EQ(o["system"], "Ловен");
    EXPECT_EQ(o["doors"], world.project->doorCount);
    EXPECT_EQ(o["status"], "Принят");
    EXPECT_EQ(o["totalKopecks"], world.project->grandTotal());
    EXPECT_EQ(o["placedAt"].get<std::string>().size(), 25u); // 2026-12-10T03:38:03+00:00
    EXPECT_EQ(o["placedAt"].get<std::string>().substr(19), "+00:00");
    EXPECT_EQ(o.size(), 9u);
    EXPECT_EQ(nlohmann::json::parse(run({"journal", "list", "--json"}).out).size(), 2u);
    // A period from or to the day of placing holds the day itself.
    const std::string today = o["placedAt"].get<std::string>().substr(0, 10);
    for (const char* key : {"--from", "--to"}) {
        r = run({"journal", "list", key, today, "--json"});
        EXPECT_EQ(nlohmann::json::parse(r.out).size(), 2u) << key << " " << today << r.err;
    }
    EXPECT_EQ(
        nlohmann::json::parse(run({"journal", "list", "--find", "345-67", "--json"}).out).size(),
        1u);

    // The sketch comes back byte for byte as it was placed and saved.
    r = run({"journal", "open", "41", path("back.tav")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFile(path("back.tav")), readFile(path("placed.tav")));

    EXPECT_EQ(run({"journal", "status", "41", "В производстве"}).status, 0);
    r = run({"journal", "show", "41", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json shown = nlohmann::json::parse(r.out);
    EXPECT_EQ(shown["status"], "В производстве");
    EXPECT_EQ(shown["salesperson"], "Петрова");
    ASSERT_EQ(shown["history"].size(), 2u);
    EXPECT_EQ(shown["history"][1]["status"], "В производстве");
    EXPECT_EQ(
        nlohmann::json::parse(run({"journal", "list", "--status", "Принят", "--json"}).out).size(),
        1u);

    r = run({"journal", "report", "2026-12", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.find("\"month\": \"2026-12\""), r.out.find("\"month\""));

    // The offcut store of the same journal: an id to write on the label, then listed and shown.
    r = run({"journal", "offcuts", "add", "--group", "Зеркала", "--material", "Серебро", "--size",
             "600х1200,5", "--place", "стеллаж 3"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(lastLine(r.out), "О-000001");
    r = run({"journal", "offcuts", "move", "О-000001", "--place", "стеллаж 4"});
    ASSERT_EQ(r.status, 0) << r.err;
    r = run({"journal", "offcuts", "list", "--material", "СЕРЕБРО", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json offcuts = nlohmann::json::parse(r.out);
    ASSERT_EQ(offcuts.size(), 1u);
    EXPECT_EQ(offcuts[0]["width"], 600.0);
    EXPECT_EQ(offcuts[0]["height"], 1200.5);
    EXPECT_EQ(offcuts[0]["rotate"], false);
    EXPECT_EQ(offcuts[0]["place"], "стеллаж 4");
    r = run({"journal", "offcuts", "list"});
    EXPECT_NE(r.out.find("Итого Зеркала Серебро: 1 шт., 0,720 м²"), std::string::npos) << r.out;
    r = run({"journal", "offcuts", "show", "о-1", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json history = nlohmann::json::parse(r.out)["history"];
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[1]["by"], "Петрова");

    // The order's own plan names what the store could give it, taking nothing: a whole stock
    // length of its first article in its colour is one offcut "из остатков".
    r = run({sample, "--plan", "-"});
    ASSERT_EQ(r.status, 0) << r.err;
    nlohmann::json own = nlohmann::json::parse(r.out);
    ASSERT_FALSE(own["articles"].empty());
    for (const auto& a : own["articles"])
        EXPECT_EQ(a["fromStore"], 0) << a["code"];
    for (const auto& m : own["materials"])
        EXPECT_TRUE(m.contains("fromStore")) << m["code"];
    const std::string code = own["articles"][0]["code"];
    double stock = 0;
    for (const auto& bar : own["bars"])
        if (bar["code"] == code)
            stock = std::max(stock, bar["stockLength"].get<double>());
    ASSERT_NE(world.project->color, nullptr);
    r = run({"journal", "offcuts", "add", "--article", code, "--color", world.project->color->code,
             "--length", rowformat::wholeOrTenths(std::lround(stock * 10))});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string rackId = lastLine(r.out);
    r = run({sample, "--plan", "-"});
    ASSERT_EQ(r.status, 0) << r.err;
    own = nlohmann::json::parse(r.out);
    EXPECT_EQ(own["articles"][0]["fromStore"], 1) << r.out;
    EXPECT_NE(run({"journal", "offcuts", "show", rackId}).out.find("На складе"), std::string::npos);
    // A journal file not made yet has no store to ask, and is not made by asking.
    const std::string none = path("нет.sqlite");
    r = cli(world.dir, {"--data", world.base().string(), "--journal", "sqlite:" + none, sample,
                        "--plan", "-"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(nlohmann::json::parse(r.out)["articles"][0].contains("fromStore"));
    EXPECT_FALSE(std::filesystem::exists(none));

    // A batch of the order: its plan names the order on every piece; started, it gets a number.
    ASSERT_EQ(run({"journal", "status", "41", "Принят"}).status, 0);
    r = run({"journal", "batch", "--orders", "41", "--plan", "-"});
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json batchPlan = nlohmann::json::parse(r.out);
    ASSERT_FALSE(batchPlan["bars"].empty());
    for (const auto& bar : batchPlan["bars"])
        for (const auto& piece : bar["pieces"])
            EXPECT_EQ(piece["order"], 41);
    r = run({"journal", "batch", "--orders", "41", "--commit"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(lastLine(r.out), "1");
    EXPECT_EQ(nlohmann::json::parse(run({"journal", "show", "41", "--json"}).out)["status"],
              "В производстве");
}

TEST_P(JournalCli, WhatGoesWrongHasItsExitCode) {
    ASSERT_EQ(run({sample, "--place"}).status, 0);
    const struct {
        std::vector<std::string> args;
        int status;
    } cases[] = {
        {{"journal"}, 64},
        {{"journal", "erase"}, 64},
        {{"journal", "show"}, 64},
        {{"journal", "show", "4a"}, 64},
        {{"journal", "status", "41", "Потерян"}, 64},
        {{"journal", "list", "--from", "2026-13-01"}, 64},
        {{"journal", "list", "--status", "Новый"}, 64},
        {{"journal", "list", "--bogus"}, 64},
        {{"journal", "report", "2026-1"}, 64},
        {{"journal", "open", "41"}, 64},
        {{"journal", "show", "40"}, 6},
        {{"journal", "open", "99", "x.tav"}, 6},
        {{"journal", "status", "99", "Готов"}, 6},
        {{"journal", "show", "41"}, 0},
        {{"journal", "offcuts"}, 64},
        {{"journal", "offcuts", "sell"}, 64},
        {{"journal", "offcuts", "show", "Б-1"}, 64},
        {{"journal", "offcuts", "list", "--state", "Продан"}, 64},
        {{"journal", "offcuts", "list", "--length", "5"}, 64},
        {{"journal", "offcuts", "add", "--article", "ПР-101"}, 64},
        {{"journal", "offcuts", "add", "--article", "ПР-101", "--length", "0"}, 64},
        {{"journal", "offcuts", "add", "--article", "ПР-101", "--length", "352,25"}, 64},
        {{"journal", "offcuts", "add", "--material", "Серебро", "--size", "600x"}, 64},
        {{"journal", "offcuts", "add", "--article", "А", "--length", "1", "--size", "1x1"}, 64},
        {{"journal", "offcuts", "move", "О-000001"}, 64},
        {{"journal", "offcuts", "show", "О-000001"}, 6},
        {{"journal", "offcuts", "scrap", "О-000001"}, 6},
        {{"journal", "offcuts", "add", "--article", "ПР-101", "--length", "352,5"}, 0},
        {{"journal", "offcuts", "scrap", "о-1"}, 0},
        {{"journal", "offcuts", "scrap", "о-1"}, 5},
        {{"journal", "batch"}, 64},
        {{"journal", "batch", "--orders", "41,x"}, 64},
        {{"journal", "batch", "--orders", "41", "--from", "2026-12-01"}, 64},
        {{"journal", "batch", "--from", "2026-12-01", "--status", "Новый"}, 64},
        {{"journal", "batch", "cancel", "1"}, 5},
        {{"journal", "batch", "--orders", "41,99"}, 6},
        {{"journal", "batch", "--orders", "41", "--commit"}, 0},
        {{"journal", "batch", "--orders", "41", "--commit"}, 5},
        {{"journal", "batch", "cancel", "1"}, 0},
        {{"journal", "pay", "41", "abc", "--kind", "Оплата", "--method", "Карта"}, 64},
        {{"journal", "pay", "41", "0", "--kind", "Оплата", "--method", "Карта"}, 64},
        {{"journal", "pay", "41", "-5", "--kind", "Оплата", "--method", "Карта"}, 64},
        {{"journal", "pay", "41", "1,234", "--kind", "Оплата", "--method", "Карта"}, 64},
        {{"journal", "pay", "41", "1", "--kind", "Аванс", "--method", "Карта"}, 64},
        {{"journal", "pay", "41", "1", "--kind", "Оплата", "--method", "Бартер"}, 64},
        {{"journal", "pay", "41", "1", "--method", "Карта"}, 64},
        {{"journal", "pay", "41", "1", "--kind", "Оплата"}, 64},
        {{"journal", "pay", "99", "1", "--kind", "Оплата", "--method", "Карта"}, 6},
        {{"journal", "pay", "41", "1", "--kind", "Возврат", "--method", "Карта"}, 5},
        {{"journal", "backup"}, 64},
        {{"journal", "restore", "a", "b"}, 64},
        {{"journal", "restore", "нет-такой-копии.journal"}, 5},
        {{"journal", "backup", path("копия.journal")}, 0},
        {{"journal", "restore", path("копия.journal")}, 0},
    };
    for (const auto& c : cases) {
        const CliRun r = run(c.args);
        std::string joined;
        for (const std::string& a : c.args)
            joined += a + " ";
        EXPECT_EQ(r.status, c.status) << joined << r.err;
        if (c.status != 0) {
            EXPECT_NE(r.err, "") << joined;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(path("x.tav")));

    // The same sketch placed again from this seat within a day is a retry after a lost answer:
    // refused with the number it got, unless --again says it is another order.
    CliRun r = run({sample, "--place"});
    EXPECT_EQ(r.status, 6);
    EXPECT_NE(r.err.find("Заказ уже оформлен под номером 00041"), std::string::npos) << r.err;
    EXPECT_EQ(run({"journal", "show", "42"}).status, 6) << "nothing was placed";
    EXPECT_EQ(run({"--again", "journal", "list"}).status, 64);

    // A sketch that cannot be saved places nothing and uses no number.
    r = run({sample, "--place", "--again", "--save", path("нет/заказ.tav")});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("Ошибка сохранения файла"), std::string::npos);
    EXPECT_EQ(run({sample, "--place", "--again"}).out, "42\n");
    // Another customer on the same sketch is another order.
    EXPECT_EQ(run({sample, "--place", "--customer", "Другой"}).out, "43\n");
}

TEST(JournalCliFaults, AnUnreachableOrRefusedJournalGivesFiveAndABadAddressAWrongCall) {
    TempFolder dir;
    World world;
    ASSERT_TRUE(buildSampleProject(world, "Ловен"));
    const std::string sample = (dir / "a.tav").string();
    ASSERT_EQ(SketchFile::write(*world.project, sample), SketchFile::WriteOk);
    std::string garbage(4096, '\x5a');
    writeFile(dir / "damaged.sqlite", garbage);
    const std::string base = world.base().string();
    const struct {
        std::string journal;
        int status;
    } cases[] = {
        {"postgresql:///tavrolab?host=" + (dir / "no-server").string(), 5},
        {"sqlite:" + (dir / "damaged.sqlite").string(), 5},
        {"sqlite:" + (dir / "a.tav").string() + "/journal.sqlite", 5},
        {"mysql://x/y", 64},
    };
    for (const auto& c : cases) {
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"--data", base, "--journal", c.journal, "journal", "list"},
              std::vector<std::string>{"--data", base, sample, "--place", "--journal",
                                       c.journal}}) {
            const CliRun r = cli(dir, args);
            EXPECT_EQ(r.status, c.status) << c.journal << " " << args[4];
            EXPECT_EQ(r.out, "") << c.journal;
            EXPECT_NE(r.err, "") << c.journal;
        }
    }
    EXPECT_EQ(readFile(dir / "damaged.sqlite"), garbage);
}

TEST(JournalCliFaults, AHungServerEndsEveryCommandByTheDeadlineWithSeven) {
    TempFolder dir;
    World world;
    ASSERT_TRUE(buildSampleProject(world, "Ловен"));
    const std::string sample = (dir / "a.tav").string();
    ASSERT_EQ(SketchFile::write(*world.project, sample), SketchFile::WriteOk);
    const JournalAddress server = PostgresServer::instance().freshDatabase();
    TcpProxy proxy(PostgresServer::instance().socketFolder() + "/.s.PGSQL.5432");
    const std::string base = world.base().string(), url = proxy.url(server);
    ASSERT_EQ(cli(dir, {"--data", base, sample, "--place", "--journal", url}).status, 0);
    proxy.setMode(TcpProxy::Mode::Hang);
    ::setenv("TAVROLAB_JOURNAL_DEADLINE_MS", "2000", 1);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--data", base, "--journal", url, "journal", "list"},
          std::vector<std::string>{"--data", base, "--journal", url, "journal", "status", "1",
                                   "Готов"},
          std::vector<std::string>{"--data", base, sample, "--place", "--again", "--journal",
                                   url}}) {
        const std::string name = args[4] == "journal" ? args[5] : "--place";
        const auto start = std::chrono::steady_clock::now();
        const CliRun r = cli(dir, args);
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(r.status, 7) << name;
        EXPECT_EQ(r.err, "tavrolab-cli: Сервер журнала заказов не отвечает\n") << name;
        EXPECT_LT(took, std::chrono::milliseconds(2600)) << name;
        std::printf("%s: %lld ms\n", name.c_str(),
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
    }
    ::unsetenv("TAVROLAB_JOURNAL_DEADLINE_MS");
}

#if TAV_CLI_PDF
TEST_P(JournalCli, APaymentIsTakenOnceUpToTheBalanceShownAndGivenItsReceipt) {
    ASSERT_EQ(run({sample, "--place", "--customer", "Ёлкина Анна"}).status, 0);
    const int64_t total = nlohmann::json::parse(run({"journal", "show", "41", "--json"}).out)
                              .at("totalKopecks")
                              .get<int64_t>();
    ASSERT_GT(total, 200);
    auto roubles = [](int64_t kopecks) {
        return std::to_string(kopecks / 100) + "," + (kopecks % 100 < 10 ? "0" : "") +
               std::to_string(kopecks % 100);
    };
    CliRun r = run({"journal", "pay", "41", "1.5", "--kind", "Предоплата", "--method", "Наличные",
                    "--note", "задаток", "--key", "касса-1"});
    ASSERT_EQ(r.status, 0) << r.err;
    // Repeated after a lost answer: the same key takes nothing more.
    ASSERT_EQ(run({"journal", "pay", "41", "1.5", "--kind", "Предоплата", "--method", "Наличные",
                   "--key", "касса-1"})
                  .status,
              0);
    const int64_t balance = total - 150;
    r = run(
        {"journal", "pay", "41", roubles(balance + 1), "--kind", "Оплата", "--method", "Карта"});
    EXPECT_EQ(r.status, 5);
    EXPECT_NE(r.err.find("остаток " + roubles(balance) + " руб."), std::string::npos) << r.err;
    r = run({"journal", "pay", "41", roubles(balance), "--kind", "Оплата", "--method", "Карта",
             "--pdf", path("квитанция.pdf")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("остаток 0,00 руб."), std::string::npos) << r.out;

    const nlohmann::json shown =
        nlohmann::json::parse(run({"journal", "show", "41", "--json"}).out);
    EXPECT_EQ(shown["paidKopecks"], total);
    EXPECT_EQ(shown["balanceKopecks"], 0);
    ASSERT_EQ(shown["payments"].size(), 2u);
    EXPECT_EQ(shown["payments"][0]["amountKopecks"], 150);
    EXPECT_EQ(shown["payments"][0]["kind"], "Предоплата");
    EXPECT_EQ(shown["payments"][0]["note"], "задаток");
    EXPECT_EQ(shown["payments"][0]["by"], "Петрова");
    EXPECT_EQ(shown["payments"][1]["amountKopecks"], balance);
    EXPECT_EQ(shown["payments"][1]["method"], "Карта");

    std::string text = pdfText(path("квитанция.pdf"));
    for (char& c : text)
        if (c == '\n')
            c = ' ';
    for (const std::string& expected :
         {std::string("Квитанция об оплате"), std::string("Заказ № 00041"),
          std::string("Клиент: Ёлкина Анна"), std::string("Вид платежа: Оплата"),
          std::string("Способ оплаты: Карта"), "Сумма: " + roubles(balance) + " руб.",
          text::moneyInWords(balance), std::string("Остаток после платежа: 0,00 руб."),
          std::string("Деньги принял(а)")})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
}

TEST_P(JournalCli, ABatchPackListsItsOrdersAndLabelsTheOffcutsItKeepsWithTheirIds) {
    ASSERT_EQ(run({sample, "--place"}).status, 0);
    // A three-door wardrobe whose profile bars leave rests worth keeping.
    ASSERT_EQ(run({"--new", "--width", "3000", "--height", "2600", "--doors", "3", "--place"}).out,
              "42\n");
    const CliRun r =
        run({"journal", "batch", "--orders", "41,42", "--commit", "--pack", path("партия.pdf")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(lastLine(r.out), "1");
    const std::string text = pdfText(path("партия.pdf"));
    EXPECT_NE(text.find("Партия № 1"), std::string::npos);
    EXPECT_NE(text.find("Заказ № 00041"), std::string::npos);
    EXPECT_NE(text.find("Заказ № 00042"), std::string::npos);
    EXPECT_NE(text.find("Раскрой"), std::string::npos);
    // Every rest the batch kept is in the store, and its label carries the store's id.
    const nlohmann::json kept =
        nlohmann::json::parse(run({"journal", "offcuts", "list", "--json"}).out);
    ASSERT_FALSE(kept.empty());
    for (const auto& o : kept)
        EXPECT_NE(text.find("Остаток " + o["id"].get<std::string>()), std::string::npos) << o;
    // The last label sheet's QR codes read back as the ids alone, as a scanner types them.
    const int pages = pdfPages(path("партия.pdf"));
    const std::string png = path("labels");
    commandOutput("pdftoppm -r 150 -png -f " + std::to_string(pages) + " -l " +
                  std::to_string(pages) + " " + quoted(path("партия.pdf")) + " " + quoted(png));
    const std::string codes = commandOutput("zbarimg --raw -q " + quoted(png) + "-*.png");
    EXPECT_NE(codes.find("\n" + kept.back()["id"].get<std::string>() + "\n"), std::string::npos)
        << codes;

    // Opened later, the started batch prints the same pack with the same ids.
    const CliRun again = run({"journal", "batch", "show", "1", "--pack", path("снова.pdf")});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.out.find("Партия 1 (Запущена)"), std::string::npos) << again.out;
    EXPECT_EQ(pdfText(path("снова.pdf")), text);
}
#endif
