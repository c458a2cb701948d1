// Runs tavrolab-cli cutlist on small lists and checks the plan JSON, the refusals and the
// exit codes.

#include "cli/CliRun.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

class CutListCli : public testing::Test {
protected:
    void SetUp() override {
        dir.writeBytes("детали.csv", "Материал;Обозначение;Длина;Ширина;Количество;Поворот\n"
                                     "Брус 40х40;Стойка;1500;;3;\n"
                                     "Брус 40х40;Ригель;700,5;;2;\n"
                                     "Брус 40х40;Балка;9000;;;\n"
                                     "ДСП белая;Полка;800;400;4;нет\n");
        dir.writeCp1251("склад.csv", "Материал;Длина;Ширина;Количество;Цена\n"
                                     "Брус 40х40;3000;;;250,00\n"
                                     "Брус 40х40;1600;;1;0\n"
                                     "ДСП белая;2800;2070;;3100,50\n");
    }
    CliRun run(std::vector<std::string> args) {
        args.insert(args.begin(), "cutlist");
        return cli(dir, args);
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }

    TempFolder dir;
};

TEST_F(CutListCli, WritesThePlanOfEveryMaterialWithThePiecesNamed) {
    const CliRun r = run({path("детали.csv"), "--stock", path("склад.csv"), "--kerf", "4", "--trim",
                          "0", "--seconds", "0,2", "--plan", "-"});
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["kerf"], 4.0);

    ASSERT_EQ(j["articles"].size(), 1u);
    const nlohmann::json& a = j["articles"][0];
    EXPECT_EQ(a["code"], "Брус 40х40");
    ASSERT_EQ(a["unplaced"].size(), 1u);
    EXPECT_EQ(a["unplaced"][0]["mark"], "Балка");
    EXPECT_EQ(a["offcutsUsed"], 1);
    EXPECT_GE(a["planBars"].get<int>(), a["lowerBound"].get<int>());
    EXPECT_TRUE(a.contains("proven") && a.contains("millis"));
    // Every bar piece of the list is on a bar once, named; new bars are priced, the offcut free.
    std::map<std::string, int> cut;
    int newBars = 0;
    for (const auto& b : j["bars"]) {
        EXPECT_EQ(b["cost"].get<double>(), b["fromOffcut"].get<bool>() ? 0.0 : 250.0);
        newBars += !b["fromOffcut"].get<bool>();
        for (const auto& p : b["pieces"])
            ++cut[p["mark"].get<std::string>()];
    }
    EXPECT_EQ(cut, (std::map<std::string, int>{{"Ригель", 2}, {"Стойка", 3}}));
    EXPECT_EQ(newBars, a["planBars"].get<int>());
    EXPECT_EQ(a["planCost"].get<double>(), 250.0 * newBars);

    ASSERT_EQ(j["materials"].size(), 1u);
    const nlohmann::json& m = j["materials"][0];
    EXPECT_EQ(m["code"], "ДСП белая");
    EXPECT_EQ(m["newSheets"], 1);
    EXPECT_EQ(m["lowerBound"], 1);
    EXPECT_TRUE(m["proven"].get<bool>());
    EXPECT_DOUBLE_EQ(m["cost"].get<double>(), 3100.5);
    ASSERT_EQ(j["sheets"].size(), 1u);
    const nlohmann::json& s = j["sheets"][0];
    EXPECT_EQ(s["width"], 2070.0);
    EXPECT_EQ(s["height"], 2800.0);
    ASSERT_EQ(s["pieces"].size(), 4u);
    for (const auto& p : s["pieces"]) {
        EXPECT_EQ(p["mark"], "Полка");
        EXPECT_FALSE(p["rotated"].get<bool>());
        EXPECT_EQ(p["height"], 800.0);
    }
}

TEST_F(CutListCli, RefusesBadInputAndWrongCallsWithTheToolsCodes) {
    dir.writeBytes("плохо.csv", "Материал;Длина\nБрус 40х40;100\nБрус 40х40;13000\n");
    CliRun r = run({path("плохо.csv"), "--stock", path("склад.csv"), "--plan", path("p.json")});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Строка 3: длина 13000 мм вне пределов 1–12000 мм"), std::string::npos)
        << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "p.json"));

    EXPECT_EQ(run({path("нет.csv"), "--stock", path("склад.csv")}).status, 2);
    const std::vector<std::vector<std::string>> wrong = {
        {path("детали.csv")},
        {path("детали.csv"), "--stock", path("склад.csv"), "--rotate", "--no-rotate"},
        {path("детали.csv"), "--stock", path("склад.csv"), "--seconds", "0"},
        {path("детали.csv"), "--stock", path("склад.csv"), "--kerf", "1,5"},
        {path("детали.csv"), "--stock", path("склад.csv"), "--bogus"},
    };
    for (const auto& args : wrong) {
        r = run(args);
        EXPECT_EQ(r.status, 64) << args.back();
        EXPECT_NE(r.err.find("Использование"), std::string::npos);
    }
}

size_t occurrences(const std::string& text, const std::string& word) {
    size_t n = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        ++n;
    return n;
}

#if TAV_CLI_PDF
TEST_F(CutListCli, PrintsThePlanPagesAndALabelPerPieceAndKeptOffcut) {
    const CliRun r =
        run({path("детали.csv"), "--stock", path("склад.csv"), "--min-offcut", "200", "--plan",
             path("p.json"), "--pdf", path("plan.pdf"), "--labels", path("labels.pdf")});
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json j = nlohmann::json::parse(outtest::readFile(dir / "p.json"));
    const std::string plan = pdfText(path("plan.pdf"));
    EXPECT_NE(plan.find("Раскрой"), std::string::npos);
    EXPECT_NE(plan.find("Брус 40х40"), std::string::npos);
    EXPECT_NE(plan.find("ДСП белая"), std::string::npos);
    EXPECT_EQ(plan.find("смете"), std::string::npos) << "a cut list has no bill";

    // Offcuts kept: the bars' rests and the sheets' free rectangles of at least 200 mm a side.
    size_t kept = j["articles"][0]["keptOffcuts"].size();
    for (const auto& sheet : j["sheets"])
        for (const auto& o : sheet["offcuts"])
            kept += o["width"].get<double>() >= 200 && o["height"].get<double>() >= 200;
    const std::string labels = pdfText(path("labels.pdf"));
    EXPECT_EQ(occurrences(labels, "Стойка"), 3u);
    EXPECT_EQ(occurrences(labels, "Ригель"), 2u);
    EXPECT_EQ(occurrences(labels, "Полка"), 4u);
    EXPECT_EQ(occurrences(labels, "Балка"), 0u) << "a piece not cut gets no label";
    EXPECT_EQ(occurrences(labels, "Деловой остаток"), kept);
    EXPECT_GT(kept, 0u);
}
#endif

} // namespace
