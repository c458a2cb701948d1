// Runs the built tavrolab-cli and checks its exit statuses, messages and outputs.

#include "cli/CliRun.h"
#include "support/OutputTestSupport.h"

#include "calc/DSSystem.h"
#include "model/SketchFile.h"
#include "output/AccountingCsv.h"
#include "output/WorkbookWriter.h"
#include "text/Encoding.h"
#include "text/Format.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <sys/wait.h>

using namespace outtest;

namespace {

class Cli : public testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        ASSERT_TRUE(buildSampleProject(world, "Ловен"));
        sample = (world.dir / "заказ.tav").string();
        ASSERT_EQ(SketchFile::write(*world.project, sample), SketchFile::WriteOk);
    }
    CliRun run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--data", world.base().string()});
        return cli(world.dir, args);
    }
    std::string path(const std::string& name) const { return (world.dir / name).string(); }

    World world;
    std::string sample;
};

} // namespace

TEST_F(Cli, WrongUsageGivesSixtyFourAndTheUsage) {
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {sample, "--bogus"},
        {sample, sample},
        {sample, "--csv"},
        {sample, "--sheets", "price"},
        {sample, "--xml", path("a.xml"), "--sheets", "price,prices"},
        {sample, "--width", "2000"},
        {"--new", sample, "--save", path("a.tav")},
        {"--new", "--width", "429499730", "--save", path("a.tav")}, // × 10 would wrap to 3000,4
        {"--new", "--height", "-429496529", "--save", path("a.tav")},
        {"--new", "--width", "4294969296", "--save", path("a.tav")}, // 2^32 + 2000 in ten digits
        {"--list", "sizes"},
        {sample, "--list", "systems"},
        {sample, "--discount", "101", "--save", path("a.tav")},
        {sample, "--discount", "1e2", "--save", path("a.tav")},
        {sample, "--assembly", "100000", "--save", path("a.tav")},
        {sample, "--order-number", "12a", "--save", path("a.tav")},
        {"--new", "--width", "abc", "--save", path("a.tav")},
        {"--new", "--system", "Нет такой", "--save", path("a.tav")},
        {"--new", "--width", "50", "--save", path("a.tav")},
        {"--new", "--doors", "11", "--save", path("a.tav")},
        {"--new", "--plinth", "100", "--save", path("a.tav")}, // Ловен has no cabinet
        {"--new", "--handle", "XX", "--save", path("a.tav")},
    };
    for (const auto& args : wrong) {
        CliRun r = run(args);
        std::string joined;
        for (const std::string& a : args)
            joined += a + " ";
        EXPECT_EQ(r.status, 64) << joined;
        EXPECT_NE(r.err.find("Использование:"), std::string::npos) << joined;
        EXPECT_EQ(r.out, "") << joined;
    }
    EXPECT_FALSE(std::filesystem::exists(path("a.tav")));
    EXPECT_FALSE(std::filesystem::exists(path("a.xml")));
    EXPECT_EQ(cli(world.dir, {"--data", path("нет"), sample}).status, 64);
}

TEST_F(Cli, InputsThatCannotBeOpenedGiveTwoWithTheProgramsMessage) {
    CliRun r = run({path("нет.tav")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Ошибка открытия файла " + path("нет.tav") + "\n");

    std::string bytes = readFile(sample);
    std::string newer = bytes;
    newer[0] = 7;
    writeFile(path("new.tav"), newer);
    r = run({path("new.tav"), "--csv", path("a.csv")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Ошибка открытия файла: версия файла не поддерживается данной программой. " +
                         path("new.tav") + "\n");
    EXPECT_FALSE(std::filesystem::exists(path("a.csv")));

    std::string unknown = bytes;
    unknown[3] = 'X'; // the first code unit of the system's name
    writeFile(path("unknown.tav"), unknown);
    r = run({path("unknown.tav")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Ошибка открытия файла " + path("unknown.tav") + "\n");

    writeFile(path("short.tav"), bytes.substr(0, bytes.size() - 3));
    r = run({path("short.tav"), "--save", path("copy.tav")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Ошибка открытия файла " + path("short.tav") + "\n");
    EXPECT_FALSE(std::filesystem::exists(path("copy.tav")));
}

TEST_F(Cli, OutputsThatCannotBeWrittenGiveThreeAndNoFile) {
    std::string target = path("нет/a.csv");
    CliRun r = run({sample, "--csv", target});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "Ошибка сохранения файла " + target + ": Нет такого файла или каталога\n");
    std::filesystem::create_directories(path("dir.xml/x"));
    r = run({sample, "--xml", path("dir.xml")});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "Ошибка сохранения файла " + path("dir.xml") + ": Это каталог\n");
    EXPECT_TRUE(std::filesystem::is_directory(path("dir.xml/x")));
}

TEST_F(Cli, ExportsEqualThoseOfTheOpenedProject) {
    CliRun r = run({sample, "--csv", path("a.csv"), "--xml", path("a.xml"), "--sheets",
                    "price,assembly", "--json", path("a.json"), "--save", path("copy.tav")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");

    // The same file opened in this process with the same data folder.
    Project opened(*world.catalog);
    ASSERT_EQ(SketchFile::read(opened, sample), SketchFile::ReadOk);
    EXPECT_EQ(readFile(path("a.csv")), accountingCsvBytes(opened));
    EXPECT_EQ(readFile(path("a.xml")), workbookBytes(opened, {false, true, false, true}));
    EXPECT_EQ(readFile(path("copy.tav")), readFile(sample));

    nlohmann::json j = nlohmann::json::parse(readFile(path("a.json")));
    EXPECT_EQ(j["system"], "Ловен");
    EXPECT_EQ(j["order"]["clientName"], world.project->order.clientName);
    EXPECT_EQ(j["articles"].size(), opened.result.articles.size());
    EXPECT_EQ(j["fillings"].size(), opened.result.fillings.size());
    EXPECT_EQ(j["cutList"].size(), opened.result.cutList.size());
    EXPECT_EQ(j["fillingPieces"].size(), opened.result.fillingPieces.size());
    EXPECT_EQ(j["elements"].size(), opened.result.elements.size());
    EXPECT_EQ(j["totals"]["total"], opened.priceTotal());
    EXPECT_EQ(j["totals"]["grandTotal"], opened.grandTotal());

    r = run({sample, "--json", "-"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out), j);
}

TEST_F(Cli, WithoutOutputsPrintsThePriceCalculation) {
    CliRun r = run({sample});
    ASSERT_EQ(r.status, 0) << r.err;
    Project opened(*world.catalog);
    ASSERT_EQ(SketchFile::read(opened, sample), SketchFile::ReadOk);
    for (const ArticleRow& a : opened.result.articles)
        EXPECT_NE(r.out.find(a.code), std::string::npos) << a.code;
    EXPECT_NE(r.out.find("ОТДЕЛОЧНЫЙ МАТЕРИАЛ НЕ УКАЗАН"), std::string::npos);
    EXPECT_NE(r.out.find("Сумма     170797,11 руб."), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Итого     155217,39 руб."), std::string::npos) << r.out;
}

TEST_F(Cli, NewProjectWithTheProjectsSetters) {
    DSSystem* cabinet = nullptr;
    for (DSSystem* s : world.catalog->systems()) {
        if (s->cabinetMode)
            cabinet = s;
    }
    std::vector<std::string> args = {"--new",   "--width", "2500",   "--height",     "2600",
                                     "--doors", "2",       "--save", path("new.tav")};
    if (cabinet != nullptr) {
        args.insert(args.end(),
                    {"--system", cabinet->code, "--plinth", "100", "--chipboard", "18"});
    }
    CliRun r = run(args);
    ASSERT_EQ(r.status, 0) << r.err;
    r = run({path("new.tav"), "--json", "-"});
    ASSERT_EQ(r.status, 0) << r.err;
    nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["openingWidth"], 25000);
    EXPECT_EQ(j["height"], 26000);
    EXPECT_EQ(j["doorCount"], 2);
    if (cabinet != nullptr) {
        EXPECT_EQ(j["system"], cabinet->code);
        EXPECT_EQ(j["plinthHeight"], 1000);
        EXPECT_EQ(j["chipboardThickness"], 180);
    }

    // A handle profile and colour the system offers are taken.
    const HandleProfile* second = nullptr;
    std::vector<HandleProfile*> offered;
    world.catalog->systems().front()->listHandleProfiles(offered);
    if (offered.size() > 1 && !offered[1]->colorChoices.empty()) {
        second = offered[1];
        std::string color = second->colorChoices.back().color->code;
        r = run({"--new", "--handle", second->code, "--color", color, "--save", path("h.tav")});
        ASSERT_EQ(r.status, 0) << r.err;
        r = run({path("h.tav"), "--json", "-"});
        nlohmann::json h = nlohmann::json::parse(r.out);
        EXPECT_EQ(h["handleProfile"], second->code);
        EXPECT_EQ(h["color"], color);
    }
}

TEST_F(Cli, CuttingPlanAsJsonWithOffcutsAndSettings) {
    // The kerf goes from 0 to 100 mm, both included.
    for (const char* kerf : {"-1", "101"})
        EXPECT_EQ(run({sample, "--plan", "-", "--kerf", kerf}).status, 64) << kerf;
    EXPECT_EQ(run({sample, "--plan", "-", "--kerf", "100"}).status, 0);

    // Without kerf and trim the plan never needs more bars than the bill.
    CliRun r = run({sample, "--plan", "-", "--kerf", "0", "--trim", "0"});
    ASSERT_EQ(r.status, 0) << r.err;
    nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["kerf"], 0);
    ASSERT_FALSE(j["articles"].empty());
    for (const auto& a : j["articles"]) {
        EXPECT_LE(a["planBars"].get<int>(), a["billBars"].get<int>()) << a["code"];
        EXPECT_LE(a["planCost"].get<double>(), a["billCost"].get<double>()) << a["code"];
    }
    const std::string code = j["articles"][0]["code"];
    const double piece = j["bars"][0]["pieces"][0]["length"];

    // An offcut just long enough for that piece (plus two 10 mm trims) is used first; a bad
    // line is reported on the error stream.
    const std::string offcuts = code + ";;" + std::to_string(static_cast<int>(piece) + 21) +
                                ";1\r\n" + code + ";;долгий;1\r\n";
    writeFile(world.base() / "profiles" / "offcuts.csv", offcuts);
    r = run({sample, "--plan", path("plan.json")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("пропущено строк: 1"), std::string::npos) << r.err;
    j = nlohmann::json::parse(readFile(world.dir / "plan.json"));
    EXPECT_EQ(j["kerf"], 4);
    EXPECT_EQ(j["trim"], 10);
    EXPECT_EQ(j["articles"][0]["offcutsUsed"], 1);
    EXPECT_TRUE(j["bars"][0]["fromOffcut"].get<bool>());

    // The workbook sheet "Раскрой" declares exactly the rows it holds: one per bar, per article,
    // per sheet piece, three headings and two empty rows.
    r = run({sample, "--xml", path("plan.xml"), "--sheets", "plan"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string xml = text::cp1251ToUtf8(readFile(world.dir / "plan.xml"));
    ASSERT_NE(xml.find("<Worksheet ss:Name=\"Раскрой\">"), std::string::npos);
    EXPECT_EQ(xml.find("ss:Name=\"Заказ\""), std::string::npos);
    size_t rows = 0;
    for (size_t at = xml.find("<Row>"); at != std::string::npos; at = xml.find("<Row>", at + 1))
        ++rows;
    size_t pieces = 0;
    for (const auto& sheet : j["sheets"])
        pieces += sheet["pieces"].size();
    EXPECT_EQ(rows, j["bars"].size() + j["articles"].size() + pieces + 5);
    EXPECT_NE(xml.find(text::format("ss:ExpandedRowCount=\"%zu\"", rows)), std::string::npos);
}

TEST_F(Cli, HelpVersionAndTheValidNames) {
    for (const char* help : {"--help", "-h"}) {
        CliRun r = run({sample, "--bogus", help});
        EXPECT_EQ(r.status, 0) << help;
        EXPECT_EQ(r.out.rfind("Использование:", 0), 0u) << help;
        EXPECT_NE(r.out.find("--list"), std::string::npos);
        EXPECT_EQ(r.err, "");
    }
    CliRun r = run({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("tavrolab-cli ", 0), 0u) << r.out;

    std::string systems;
    for (const DSSystem* s : world.catalog->systems())
        systems += s->code + "\n";
    r = run({"--list", "systems"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, systems);

    DSSystem* last = world.catalog->systems().back();
    std::vector<HandleProfile*> offered;
    last->listHandleProfiles(offered);
    ASSERT_FALSE(offered.empty());
    std::string handles;
    for (const HandleProfile* h : offered)
        handles += h->code + "\n";
    r = run({"--list", "handles", "--system", last->code});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, handles);
    std::string colors;
    for (const ColorChoice& c : offered.back()->colorChoices)
        colors += c.color->code + "\n";
    r = run({"--list", "colors", "--system", last->code, "--handle", offered.back()->code});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, colors);

    // A name the program does not know is answered with the names it does.
    r = run({"--new", "--system", "Нет такой"});
    EXPECT_EQ(r.status, 64);
    for (const DSSystem* s : world.catalog->systems())
        EXPECT_NE(r.err.find("\n  " + s->code + "\n"), std::string::npos) << s->code;
    r = run({"--new", "--system", last->code, "--handle", "XX"});
    EXPECT_EQ(r.status, 64);
    EXPECT_NE(r.err.find("\n  " + offered.front()->code + "\n"), std::string::npos) << r.err;
    r = run({"--new", "--system", last->code, "--handle", offered.back()->code, "--color", "XX"});
    EXPECT_EQ(r.status, 64);
    EXPECT_NE(r.err.find("\n  " + offered.back()->colorChoices.front().color->code + "\n"),
              std::string::npos)
        << r.err;
}

TEST_F(Cli, NewProjectWritesExportsAndTakesTheOrderCard) {
    CliRun r = run({"--new", "--csv", path("new.csv"), "--width", "2400"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(std::filesystem::exists(path("new.csv")));

    r = run({sample, "--discount", "12,5", "--assembly", "99999", "--delivery", "300",
             "--order-number", "77", "--customer", "Петров П. П.", "--address", "ул. Мира, 1",
             "--phone", "+7 900 000-00-00", "--json", "-"});
    ASSERT_EQ(r.status, 0) << r.err;
    nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["discountPercent"], 12.5);
    EXPECT_EQ(j["order"]["orderNumber"], "77");
    EXPECT_EQ(j["order"]["clientName"], "Петров П. П.");
    EXPECT_EQ(j["order"]["address"], "ул. Мира, 1");
    EXPECT_EQ(j["order"]["phone"], "+7 900 000-00-00");
    EXPECT_EQ(j["totals"]["assemblyCost"], 99999); // the dearest the order card takes
    EXPECT_EQ(j["totals"]["deliveryCost"], 300);
    const int64_t total = j["totals"]["total"];
    EXPECT_EQ(j["totals"]["discount"], (total * 125 + 999) / 1000);
    EXPECT_EQ(j["totals"]["grandTotal"],
              total - j["totals"]["discount"].get<int64_t>() + (99999 + 300) * 100);
}

TEST_F(Cli, ADataFolderWithoutPricesIsAnErrorOfItsOwn) {
    const std::filesystem::path prices = world.base() / "profiles" / "price.csv";
    const std::string kept = readFile(prices);
    std::filesystem::remove(prices);
    CliRun r = run({sample, "--csv", path("none.csv")});
    EXPECT_EQ(r.status, 4);
    EXPECT_EQ(r.err, "tavrolab-cli: в папке данных нет файла цен " + prices.string() + "\n");
    EXPECT_FALSE(std::filesystem::exists(path("none.csv")));

    writeFile(prices, text::utf8ToCp1251("код;коллекция;цена\r\nНЕТ-ТАКОГО;;100,00;\r\n"));
    r = run({"--new"});
    EXPECT_EQ(r.status, 4);
    EXPECT_NE(r.err.find("нет ни одной цены"), std::string::npos) << r.err;

    writeFile(prices, kept);
    EXPECT_EQ(run({"--new"}).status, 0);
}

#if TAV_CLI_PDF
TEST_F(Cli, PdfHoldsTheChosenDocumentsWithoutADisplay) {
    // The tool runs on the offscreen platform even where the environment names a display.
    const char* display = std::getenv("DISPLAY");
    const std::string savedDisplay = display ? display : "";
    unsetenv("DISPLAY");
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    CliRun all = run({sample, "--pdf", path("all.pdf")});
    CliRun some = run({sample, "--pdf", path("some.pdf"), "--documents", "assembly,price"});
    CliRun quote = run({sample, "--pdf", path("quote.pdf"), "--documents", "quote"});
    unsetenv("QT_QPA_PLATFORM");
    if (display)
        setenv("DISPLAY", savedDisplay.c_str(), 1);

    EXPECT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(all.err, "");
    const std::string allText = pdfText(path("all.pdf"));
    for (const char* expected : {"Заказ принял(а).", "Кол-во", "Название профиля", "Вставка"})
        EXPECT_NE(allText.find(expected), std::string::npos) << expected;
    EXPECT_GE(pdfPages(path("all.pdf")), 4);

    EXPECT_EQ(some.status, 0) << some.err;
    const std::string someText = pdfText(path("some.pdf"));
    EXPECT_EQ(someText.find("Заказ принял(а)."), std::string::npos);
    EXPECT_EQ(someText.find("Название профиля"), std::string::npos);
    EXPECT_NE(someText.find("Кол-во"), std::string::npos);
    EXPECT_NE(someText.find("Вставка"), std::string::npos);
    // Price first, assembly after it, whatever the order of the list.
    EXPECT_LT(someText.find("Кол-во"), someText.find("Вставка"));

    // The customer's quote on its own page, and only when asked for.
    EXPECT_EQ(allText.find("Коммерческое предложение"), std::string::npos);
    EXPECT_EQ(quote.status, 0) << quote.err;
    EXPECT_EQ(pdfPages(path("quote.pdf")), 1);
    EXPECT_NE(pdfText(path("quote.pdf")).find("Коммерческое предложение"), std::string::npos);
}

TEST_F(Cli, PackLabelsTheOffcutsOfThePlanMadeWithTheSameSettings) {
    // One "Деловой остаток" label per offcut the plan keeps, whatever minimum makes it keep them.
    std::vector<size_t> counts;
    for (const char* minOffcut : {"5", "10000"}) {
        CliRun r = run({sample, "--plan", path("plan.json"), "--pack", path("pack.pdf"),
                        "--min-offcut", minOffcut});
        ASSERT_EQ(r.status, 0) << r.err;
        const nlohmann::json plan = nlohmann::json::parse(readFile(world.dir / "plan.json"));
        size_t kept = 0;
        for (const auto& a : plan["articles"])
            kept += a["keptOffcuts"].size();
        const std::string text = pdfText(path("pack.pdf"));
        size_t labels = 0;
        for (size_t at = text.find("Деловой остаток"); at != std::string::npos;
             at = text.find("Деловой остаток", at + 1))
            ++labels;
        EXPECT_EQ(labels, kept) << minOffcut;
        counts.push_back(kept);
    }
    EXPECT_GT(counts[0], 0u);
    EXPECT_EQ(counts[1], 0u);
}

TEST_F(Cli, PdfFailuresKeepTheExitCodesOfTheOtherOutputs) {
    CliRun r = run({sample, "--pdf", path("a.pdf"), "--documents", "order,cutting"});
    EXPECT_EQ(r.status, 64);
    EXPECT_NE(r.err.find("неизвестный документ cutting"), std::string::npos);
    r = run({sample, "--documents", "order"});
    EXPECT_EQ(r.status, 64);
    r = run({sample, "--pdf", path("a.pdf"), "--documents", ""});
    EXPECT_EQ(r.status, 64);
    EXPECT_FALSE(std::filesystem::exists(path("a.pdf")));

    const std::string missing = path("нет/a.pdf");
    r = run({sample, "--pdf", missing});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "Ошибка сохранения файла " + missing + "\n");
    EXPECT_FALSE(std::filesystem::exists(missing));
}
#endif
