#include "support/OutputTestSupport.h"

#include "calc/DSSystem.h"
#include "catalog/Material.h"
#include "catalog/SplitterProfile.h"
#include "output/InfoTexts.h"
#include "output/ResultTables.h"

#include <gtest/gtest.h>

using namespace outtest;

namespace {

std::vector<std::string> texts(const ResultRow& row) {
    std::vector<std::string> out;
    for (const ResultCell& c : row.cells)
        out.push_back(c.text);
    return out;
}

void setRows(Project& p) {
    CalcResult& r = p.result;
    r.articles = {{"KL001", "Профиль", 54000, 3, 123450, "", 1},
                  {"KL13", "Щетка", 0, 24500, 2450, "", 0}};
    r.fillings = {{"ВНИМАНИЕ", "ОТДЕЛОЧНЫЙ МАТЕРИАЛ НЕ УКАЗАН", 0, 0.75, 0, ""}};
    r.pricesDirty = 1;
    r.discountPercent = 0.0;
}

} // namespace

TEST(ResultTables, PricePageRowsAndTotals) {
    World s;
    Project& p = *s.project;
    setRows(p);
    p.result.articles[1].error = "ОШИБКА: тест";
    p.order.assemblyCost = 0;
    p.order.deliveryCost = 0;
    std::vector<ResultTable> t = buildResultTables(p, ResultPage::Price);
    ASSERT_EQ(t.size(), 2u);
    ASSERT_EQ(t[0].rowCount(), 4);
    EXPECT_EQ(t[0].columnFractions, (std::vector<double>{0.08, 0.14, 0.48, 0.15, 0.15}));
    EXPECT_EQ(t[0].rows[0].kind, ResultRowKind::Heading);
    EXPECT_TRUE(t[0].rows[0].cells[2].bold);
    EXPECT_FALSE(t[0].rows[1].cells[2].bold);
    EXPECT_EQ(texts(t[0].rows[1]),
              (std::vector<std::string>{"1", "KL001", "Профиль 5,4 м.", "3 шт.", "1234,50"}));
    EXPECT_EQ(texts(t[0].rows[2]),
              (std::vector<std::string>{"2", "KL13", "Щетка \nОШИБКА: тест", "2,45 м.", "24,50"}));
    EXPECT_EQ(texts(t[0].rows[3]),
              (std::vector<std::string>{"3", "ВНИМАНИЕ", "ОТДЕЛОЧНЫЙ МАТЕРИАЛ НЕ УКАЗАН",
                                        "0,7500 м2", "0,00"}));
    // The error zeroes the sum; all five totals are shown.
    EXPECT_DOUBLE_EQ(t[1].offsetFraction, 0.6);
    ASSERT_EQ(t[1].rowCount(), 5);
    EXPECT_EQ(texts(t[1].rows[0]), (std::vector<std::string>{"Сумма", "0,00 руб."}));
    EXPECT_EQ(texts(t[1].rows[2]), (std::vector<std::string>{"Сборка", "0,00 руб."}));
    EXPECT_EQ(texts(t[1].rows[4]), (std::vector<std::string>{"Итого", "0,00 руб."}));
    EXPECT_TRUE(t[1].rows[4].cells[0].bold);
    EXPECT_FALSE(t[1].rows[4].cells[1].bold);

    p.result.articles[1].error.clear();
    p.result.pricesDirty = 1;
    t = buildResultTables(p, ResultPage::Price);
    EXPECT_EQ(t[1].rows[0].cells[1].text, "1259,00 руб.");
}

TEST(ResultTables, OrderPageHasExactlyItsRows) {
    setenv("TZ", "UTC", 1);
    tzset();
    World s;
    Project& p = *s.project;
    p.order.orderNumber = "7"; // shown as typed
    p.order.orderDate = kOrderDate;
    p.order.assemblyCost = 0;
    p.order.deliveryCost = 0;
    std::vector<ResultTable> t = buildResultTables(p, ResultPage::Order);
    ASSERT_EQ(t.size(), 1u);
    ASSERT_EQ(p.system->cabinetMode, 0);
    ASSERT_EQ(t[0].rowCount(), 13 - 1 - 2);
    EXPECT_EQ(texts(t[0].rows[0]), (std::vector<std::string>{"№ заказа", "7"}));
    EXPECT_EQ(texts(t[0].rows[4]), (std::vector<std::string>{"Дата оформления", "15.03.2026"}));
    EXPECT_EQ(texts(t[0].rows[6]), (std::vector<std::string>{"Высота проема", "2000 мм"}));
    EXPECT_EQ(t[0].rows.back().cells[0].text, "Цвет профилей");
    EXPECT_TRUE(t[0].rows[3].cells[0].bold);

    p.order.deliveryCost = 300;
    p.order.assemblyCost = 1500;
    t = buildResultTables(p, ResultPage::Order);
    ASSERT_EQ(t[0].rowCount(), 13 + 1 - 0 - 2);
    EXPECT_EQ(texts(t[0].rows[6]), (std::vector<std::string>{"Сборка", "1500 руб."}));
    EXPECT_EQ(texts(t[0].rows[7]), (std::vector<std::string>{"Доставка", "300 руб."}));

    for (DSSystem* system : s.catalog->systems()) {
        if (!system->cabinetMode)
            continue;
        ASSERT_TRUE(p.setSystem(system));
        t = buildResultTables(p, ResultPage::Order);
        EXPECT_EQ(t[0].rowCount(), 13 + 1) << system->code;
        EXPECT_EQ(t[0].rows[8].cells[0].text, "Высота шкафа");
        EXPECT_EQ(t[0].rows[10].cells[0].text, "Цоколь");
    }
}

TEST(ResultTables, ProfilesAndAssemblyPagesFollowTheResult) {
    World s;
    ASSERT_TRUE(buildSampleProject(s, "Ловен"));
    Project& p = *s.project;
    std::vector<ResultTable> t = buildResultTables(p, ResultPage::Profiles);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].rowCount(), static_cast<int>(p.result.cutList.size()) + 1);
    EXPECT_EQ(t[1].rowCount(), static_cast<int>(p.result.fillingPieces.size()) + 1);
    EXPECT_EQ(t[0].columnCount(), 5);
    EXPECT_EQ(t[1].columnCount(), 6);
    EXPECT_EQ(t[0].gapAfterPoints, 60);
    const CutPieceRow& cut = p.result.cutList.front();
    EXPECT_EQ(texts(t[0].rows[1]),
              (std::vector<std::string>{cut.number, cut.code, cut.name, cut.length, cut.mark}));

    t = buildResultTables(p, ResultPage::Assembly);
    ASSERT_EQ(t.size(), 1u);
    ASSERT_EQ(t[0].rowCount(), static_cast<int>(p.result.elements.size()) + 1);
    EXPECT_EQ(texts(t[0].rows[0]), (std::vector<std::string>{"№ двери", "Тип элемента", "Артикул",
                                                             "Название", "Номер"}));
    const ElementRow& e = p.result.elements.back();
    EXPECT_EQ(texts(t[0].rows.back()),
              (std::vector<std::string>{e.door, e.kind, e.code, e.name, e.mark}));
    for (const ResultTable& table : t) {
        for (const ResultRow& row : table.rows)
            EXPECT_EQ(static_cast<int>(row.cells.size()), table.columnCount());
    }
}

TEST(InfoTexts, LinesOfEveryKind) {
    HoverInfo filling;
    filling.kind = HoverKind::Filling;
    filling.text1 = "Зеркало / серебро.jpg";
    filling.width = 6000;
    filling.height = 12000;
    filling.thickness = 40;
    InfoLines l = infoLines(filling);
    EXPECT_EQ(l.first, "Материал: Зеркало / серебро.jpg   ");
    EXPECT_EQ(l.second, "Ширина:   600 мм;  Высота:  1200 мм; Площадь: 720000 мм2 (0,720 м2); "
                        "Толщина: 4,0 мм");
    filling.text1.clear();
    filling.text2 = "ОШИБКА: Неподходящая толщина!";
    filling.width = 5995; // 599.5 mm rounds half up
    EXPECT_EQ(infoLines(filling).first, "Материал не назначен   ОШИБКА: Неподходящая толщина!");
    EXPECT_EQ(infoLines(filling).second.rfind("Ширина:   600 мм;", 0), 0u);

    HoverInfo edge;
    edge.kind = HoverKind::Edge;
    edge.text1 = "KL001";
    edge.length = 19955;
    edge.width = 250;
    edge.edgePosition = EdgeLeft;
    edge.doorWidth2 = 10150;
    EXPECT_EQ(infoLines(edge).first, "Код: KL001");
    EXPECT_EQ(infoLines(edge).second,
              "Длина: 1995,5 мм;  Ширина:  25,0 мм;  Правая дверь: 1015,0 мм");
    edge.doorWidth1 = 9000;
    EXPECT_EQ(infoLines(edge).second, "Длина: 1995,5 мм;  Ширина:  25,0 мм;  Левая дверь: 900,0 "
                                      "мм;  Правая дверь: 1015,0 мм");
    edge.edgePosition = EdgeBottom;
    EXPECT_EQ(infoLines(edge).second,
              "Длина: 1995,5 мм;  Ширина:  25,0 мм;  Ширина двери: 900,0 мм");

    HoverInfo splitter;
    splitter.kind = HoverKind::HorizontalSplitter;
    splitter.text1 = "KL03 (ДСП-ДСП)";
    splitter.length = 9000;
    splitter.width = 120;
    splitter.offset = 8000;
    EXPECT_EQ(infoLines(splitter).second, "Длина: 900,0 мм;  Ширина:  12,0 мм;  Смещение от "
                                          "верхнего края двери: 800,0 мм");
    EXPECT_EQ(infoLines(HoverInfo{}).first, "");
    EXPECT_EQ(infoLines(HoverInfo{}).second, "");
}

TEST(InfoTexts, HoverDescriptionFromThePressedElement) {
    World s;
    ASSERT_TRUE(buildSampleProject(s, "Ловен"));
    DoorSet& set = *s.project->doors;
    EXPECT_EQ(describeHover(set), HoverInfo{});

    // The left edge of door 1: the doors on both sides of it.
    Door& d1 = set.doors[1];
    d1.pressedKind = PressedEdge;
    d1.pressedEdge = &d1.edges[EdgeLeft];
    HoverInfo h = describeHover(set);
    EXPECT_EQ(h.kind, HoverKind::Edge);
    EXPECT_EQ(h.doorWidth1, set.doors[0].width);
    EXPECT_EQ(h.doorWidth2, d1.width);
    ASSERT_NE(d1.edges[EdgeLeft].profile, nullptr);
    EXPECT_EQ(h.text1, d1.edges[EdgeLeft].profile->code);
    EXPECT_EQ(h.length, d1.edges[EdgeLeft].cutLength);
    d1.clearPressed();

    // The right edge of the last door in use: only its own width.
    Door& last = set.doors[static_cast<std::size_t>(set.doorCount - 1)];
    last.pressedKind = PressedEdge;
    last.pressedEdge = &last.edges[EdgeRight];
    h = describeHover(set);
    EXPECT_EQ(h.doorWidth1, last.width);
    EXPECT_EQ(h.doorWidth2, 0);
    last.clearPressed();

    // A splitter: code with its type word, its position as the offset.
    Door& d0 = set.doors[0];
    Splitter& sp = d0.splitters.begin()->second;
    d0.pressedKind = PressedSplitter;
    d0.pressedSplitter = &sp;
    h = describeHover(set);
    EXPECT_EQ(h.kind, sp.vertical ? HoverKind::VerticalSplitter : HoverKind::HorizontalSplitter);
    ASSERT_NE(sp.profile, nullptr);
    EXPECT_EQ(h.text1, sp.profile->code + " (" + splitterTypeWord(sp.profile->splitterType) + ")");
    EXPECT_EQ(h.offset, sp.position);
    d0.clearPressed();

    // An insert with a material from a picture folder.
    for (auto& [id, in] : d0.inserts) {
        if (in.material != nullptr && in.material->fromFolder) {
            d0.pressedKind = PressedInsert;
            d0.pressedInsert = &in;
            in.thicknessMismatch = true;
            break;
        }
    }
    ASSERT_EQ(d0.pressedKind, PressedInsert);
    h = describeHover(set);
    EXPECT_EQ(h.text1, "Зеркало / фото\\a.jpg");
    EXPECT_EQ(h.thickness, 40);
    EXPECT_EQ(h.width, d0.pressedInsert->fillWidth);
    EXPECT_EQ(h.text2, "ОШИБКА: Неподходящая толщина!");
    EXPECT_EQ(splitterTypeWord(2), "Универсальный");
    EXPECT_EQ(splitterTypeWord(3), "");
}
