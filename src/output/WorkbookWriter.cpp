#include "output/WorkbookWriter.h"

#include "calc/CalcResult.h"
#include "calc/DSSystem.h"
#include "catalog/Catalog.h"
#include "catalog/ProfileColor.h"
#include "model/AtomicFile.h"
#include "model/Project.h"
#include "output/ExportText.h"
#include "output/RowTexts.h"
#include "plan/CuttingPlan.h"
#include "text/Encoding.h"
#include "text/Format.h"

#include <vector>

namespace {

enum class CellType { String, Number };

// Builds the workbook text in UTF-8; it is converted to Windows-1251 as a whole at the end.
class Workbook {
public:
    void line(int depth, std::string_view text) {
        out_.append(static_cast<std::size_t>(depth), ' ');
        out_ += text;
        out_ += '\n';
    }

    void header();
    void openSheet(std::string_view name, int columns, int rows, std::initializer_list<int> widths);
    void closeSheet();

    void beginRow() { line(0, "<Row>"); }
    void endRow() { line(0, "</Row>"); }
    void emptyRow() {
        beginRow();
        endRow();
    }
    // Texts from the model are escaped; a Number cell carries a decimal point, as spreadsheet
    // programs read numbers whatever their own locale.
    void cell(std::string_view style, CellType type, std::string_view text,
              bool atColumn4 = false) {
        std::string value =
            type == CellType::Number ? exporttext::withDecimalPoint(text) : std::string(text);
        std::string s = "<Cell ";
        if (atColumn4)
            s += "ss:Index=\"4\" ";
        s += "ss:StyleID=\"";
        s += style;
        s += "\"><Data ss:Type=\"";
        s += type == CellType::Number ? "Number" : "String";
        s += "\">";
        s += exporttext::xmlEscaped(value);
        s += "</Data></Cell>";
        line(0, s);
    }
    void headingRow(std::initializer_list<std::string_view> titles) {
        beginRow();
        for (std::string_view t : titles)
            cell("s21", CellType::String, t);
        endRow();
    }

    std::string take() { return std::move(out_); }

private:
    void borders() {
        line(3, "<Borders>");
        for (const char* position : {"Bottom", "Left", "Right", "Top"}) {
            line(4, text::format("<Border ss:Position=\"%s\" ss:LineStyle=\"Continuous\" "
                                 "ss:Weight=\"1\"/>",
                                 position));
        }
        line(3, "</Borders>");
    }

    std::string out_;
};

void Workbook::header() {
    line(0, "<?xml version=\"1.0\" encoding=\"windows-1251\"?>");
    line(0, "<?mso-application progid=\"Excel.Sheet\"?>");
    line(0, "<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\"");
    line(1, "xmlns:o=\"urn:schemas-microsoft-com:office:office\"");
    line(1, "xmlns:x=\"urn:schemas-microsoft-com:office:excel\"");
    line(1, "xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\"");
    line(1, "xmlns:html=\"http://www.w3.org/TR/REC-html40\">");
    line(1, "<DocumentProperties xmlns=\"urn:schemas-microsoft-com:office:office\">");
    line(2, "<LastAuthor>orfa</LastAuthor>");
    line(2, "<Created>2015-07-16T20:07:23Z</Created>");
    line(2, "<LastSaved>2015-07-16T20:07:45Z</LastSaved>");
    line(2, "<Version>11.9999</Version>");
    line(1, "</DocumentProperties>");
    line(1, "<ExcelWorkbook xmlns=\"urn:schemas-microsoft-com:office:excel\">");
    line(2, "<WindowHeight>12690</WindowHeight>");
    line(2, "<WindowWidth>12315</WindowWidth>");
    line(2, "<WindowTopX>360</WindowTopX>");
    line(2, "<WindowTopY>135</WindowTopY>");
    line(2, "<RefModeR1C1/>");
    line(2, "<ProtectStructure>False</ProtectStructure>");
    line(2, "<ProtectWindows>False</ProtectWindows>");
    line(1, "</ExcelWorkbook>");
    line(1, "<Styles>");

    line(2, "<Style ss:ID=\"Default\" ss:Name=\"Normal\">");
    line(3, "<Alignment ss:Vertical=\"Bottom\"/>");
    line(3, "<Borders/>");
    line(3, "<Font ss:FontName=\"Arial Cyr\" x:CharSet=\"204\"/>");
    line(3, "<Interior/>");
    line(3, "<NumberFormat/>");
    line(3, "<Protection/>");
    line(2, "</Style>");

    line(2, "<Style ss:ID=\"s21\">");
    borders();
    line(3, "<Font ss:FontName=\"Arial Cyr\" x:CharSet=\"204\" ss:Bold=\"1\"/>");
    line(2, "</Style>");

    line(2, "<Style ss:ID=\"s22\">");
    borders();
    line(3, "<Font ss:FontName=\"Arial Cyr\" x:CharSet=\"204\"/>");
    line(2, "</Style>");

    line(2, "<Style ss:ID=\"s23\">");
    borders();
    line(3, "<Font ss:FontName=\"Arial Cyr\" x:CharSet=\"204\" ss:Bold=\"0\"/>");
    line(3, "<NumberFormat ss:Format=\"#,##0.00&quot;p.&quot;\"/>");
    line(2, "</Style>");

    // s24 and s37 name the General format: LibreOffice carries the number format of the style
    // defined before into a style that names none, and would show row numbers and lengths as
    // money (from s23) and the assembly and delivery costs as dates (from s36).
    line(2, "<Style ss:ID=\"s24\">");
    borders();
    line(3, "<Font ss:FontName=\"Arial Cyr\" x:CharSet=\"204\" ss:Bold=\"0\"/>");
    line(3, "<NumberFormat ss:Format=\"General\"/>");
    line(2, "</Style>");

    line(2, "<Style ss:ID=\"s36\">");
    borders();
    line(3, "<NumberFormat ss:Format=\"Short Date\"/>");
    line(2, "</Style>");

    line(2, "<Style ss:ID=\"s37\">");
    line(3, "<Alignment ss:Horizontal=\"Right\" ss:Vertical=\"Bottom\"/>");
    borders();
    line(3, "<NumberFormat ss:Format=\"General\"/>");
    line(2, "</Style>");

    line(2, "<Style ss:ID=\"s38\">");
    line(3, "<Alignment ss:Horizontal=\"Right\" ss:Vertical=\"Bottom\"/>");
    borders();
    line(3, "<NumberFormat ss:Format=\"@\"/>");
    line(2, "</Style>");

    line(1, "</Styles>");
}

void Workbook::openSheet(std::string_view name, int columns, int rows,
                         std::initializer_list<int> widths) {
    line(0, "<Worksheet ss:Name=\"" + std::string(name) + "\">");
    line(0, text::format("<Table ss:ExpandedColumnCount=\"%d\" ss:ExpandedRowCount=\"%d\" "
                         "x:FullColumns=\"1\"",
                         columns, rows));
    line(0, "x:FullRows=\"1\">");
    for (int w : widths)
        line(0, text::format("<Column ss:AutoFitWidth=\"0\" ss:Width=\"%d\"/>", w));
}

void Workbook::closeSheet() {
    line(1, "</Table>");
    line(0, "<WorksheetOptions xmlns=\"urn:schemas-microsoft-com:office:excel\">");
    line(0, "<PageSetup>");
    line(0, "<PageMargins x:Bottom=\"0.984251969\" x:Left=\"0.78740157499999996\"");
    line(1, "x:Right=\"0.78740157499999996\" x:Top=\"0.984251969\"/>");
    line(0, "</PageSetup>");
    line(0, "<Print>");
    line(0, "<ValidPrinterInfo/>");
    line(0, "<PaperSizeIndex>9</PaperSizeIndex>");
    line(0, "<HorizontalResolution>600</HorizontalResolution>");
    line(0, "<VerticalResolution>600</VerticalResolution>");
    line(0, "</Print>");
    line(0, "<Selected/>");
    line(0, "<Panes>");
    line(0, "<Pane>");
    line(1, "<Number>3</Number>");
    line(1, "<ActiveRow>0</ActiveRow>");
    line(1, "<ActiveCol>0</ActiveCol>");
    line(0, "</Pane>");
    line(0, "</Panes>");
    line(0, "<ProtectObjects>False</ProtectObjects>");
    line(0, "<ProtectScenarios>False</ProtectScenarios>");
    line(0, "</WorksheetOptions>");
    line(0, "</Worksheet>");
}

std::string millimetres(int32_t tenths) {
    return text::format("%d мм", tenths / 10);
}

void orderSheet(Workbook& wb, Project& project) {
    const OrderInfo& order = project.order;
    bool cabinet = project.system != nullptr && project.system->cabinetMode != 0;
    wb.openSheet("Заказ", 2, cabinet ? 14 : 12, {115, 200});
    auto field = [&](std::string_view name, std::string_view style, CellType type,
                     std::string_view value) {
        wb.beginRow();
        wb.cell("s21", CellType::String, name);
        wb.cell(style, type, value);
        wb.endRow();
    };
    auto cost = [&](std::string_view name, int32_t roubles) {
        if (roubles >= 1)
            field(name, "s37", CellType::Number, text::format("%d", roubles));
        else
            field(name, "s37", CellType::String, "нет");
    };
    field("№ заказа", "s38", CellType::String, order.orderNumberText());
    field("ФИО", "s37", CellType::String, order.clientName);
    field("Адрес", "s37", CellType::String, order.address);
    field("Телефон", "s37", CellType::String, order.phone);
    cost("Сборка", order.assemblyCost);
    cost("Доставка", order.deliveryCost);
    field("Дата оформления", "s37", CellType::String, orderDateText(order.orderDate));
    field("Дата готовности", "s37", CellType::String, orderDateText(order.readyDate));
    field(cabinet ? "Высота шкафа" : "Высота проема", "s37", CellType::String,
          millimetres(project.height));
    field("Ширина проема", "s37", CellType::String, millimetres(project.openingWidth));
    if (cabinet) {
        field("Цоколь", "s37", CellType::String, millimetres(project.plinthHeight));
        field("Ширина ЛДСП", "s37", CellType::String, millimetres(project.chipboardThickness));
    }
    field("Количество дверей", "s37", CellType::String, text::format("%d", project.doorCount));
    field("Цвет профилей", "s37", CellType::String,
          project.color != nullptr ? project.color->code : std::string());
    wb.closeSheet();
}

void priceSheet(Workbook& wb, Project& project) {
    const CalcResult& result = project.result;
    int rows = static_cast<int>(result.articles.size() + result.fillings.size()) + 7;
    wb.openSheet("Рассчет цены", 5, rows, {30, 80, 250, 70, 70});
    wb.headingRow({"№", "Артикул", "Название", "Кол-во", "Цена, руб."});
    int number = 1;
    auto item = [&](const std::string& code, const std::string& name, const std::string& qty,
                    int64_t cost) {
        wb.beginRow();
        wb.cell("s24", CellType::Number, text::format("%d", number++));
        wb.cell("s23", CellType::String, code);
        wb.cell("s23", CellType::String, name);
        wb.cell("s23", CellType::String, qty);
        wb.cell("s23", CellType::Number, rowtext::rowCost(cost));
        wb.endRow();
    };
    for (const ArticleRow& row : result.articles)
        item(row.code, rowtext::articleName(row), rowtext::articleQuantity(row), row.cost);
    for (const FillingRow& row : result.fillings)
        item(row.code, row.name, rowtext::fillingQuantity(row), row.cost);
    wb.emptyRow();
    auto total = [&](std::string_view label, double roubles) {
        wb.beginRow();
        wb.cell("s23", CellType::String, label, true);
        wb.cell("s23", CellType::Number, rowtext::money(roubles));
        wb.endRow();
    };
    total("Сумма", project.priceTotal() / 100.0);
    total("Скидка", project.discountAmount() / 100.0);
    total("Сборка", static_cast<double>(project.order.assemblyCost));
    total("Доставка", static_cast<double>(project.order.deliveryCost));
    total("Итого", project.grandTotal() / 100.0);
    wb.closeSheet();
}

void profilesSheet(Workbook& wb, const CalcResult& result) {
    int rows = static_cast<int>(result.cutList.size() + result.fillingPieces.size()) + 3;
    wb.openSheet("Профили и материалы", 6, rows, {50, 50, 250, 70, 70, 70});
    wb.headingRow({"№", "Артикул", "Название профиля", "Длина, мм", "Номер"});
    for (const CutPieceRow& row : result.cutList) {
        wb.beginRow();
        wb.cell("s24", CellType::String, row.number);
        wb.cell("s23", CellType::String, row.code);
        wb.cell("s23", CellType::String, row.name);
        wb.cell("s24", CellType::Number, row.length);
        wb.cell("s24", CellType::Number, row.mark);
        wb.endRow();
    }
    wb.emptyRow();
    wb.headingRow({"№", "Артикул", "Название материала", "Высота, мм", "Ширина, мм", "Номер"});
    for (const FillingPieceRow& row : result.fillingPieces) {
        wb.beginRow();
        wb.cell("s24", CellType::String, row.number);
        wb.cell("s23", CellType::String, row.code);
        wb.cell("s23", CellType::String, row.name);
        wb.cell("s24", CellType::Number, row.height);
        wb.cell("s24", CellType::Number, row.width);
        wb.cell("s24", CellType::Number, row.mark);
        wb.endRow();
    }
    wb.closeSheet();
}

void assemblySheet(Workbook& wb, const CalcResult& result) {
    wb.openSheet("Сборка", 5, static_cast<int>(result.elements.size()) + 1, {40, 80, 80, 250, 50});
    wb.headingRow({"№ двери", "Тип элемента", "Артикул", "Название", "Номер"});
    for (const ElementRow& row : result.elements) {
        wb.beginRow();
        wb.cell("s24", CellType::Number, row.door);
        wb.cell("s23", CellType::String, row.kind);
        wb.cell("s23", CellType::String, row.code);
        wb.cell("s24", CellType::String, row.name);
        wb.cell("s24", CellType::Number, row.mark);
        wb.endRow();
    }
    wb.closeSheet();
}

std::string tenthsText(int64_t tenths) {
    return text::format("%.1f", static_cast<double>(tenths) / 10.0);
}

std::string doorAndMark(int32_t doorIndex, int32_t mark) {
    return text::format("д%d/№%d", doorIndex + 1, mark);
}

// The cutting plans: every bar with its pieces, the articles beside the bill, every sheet piece.
void planSheet(Workbook& wb, const CuttingPlan& plan) {
    size_t bars = 0, pieces = 0;
    for (const ArticleCut& a : plan.articles)
        bars += a.plan.bars.size();
    for (const MaterialCut& m : plan.materials)
        for (const PlannedSheet& s : m.plan.sheets)
            pieces += s.pieces.size();
    const int rows = static_cast<int>(bars + plan.articles.size() + pieces) + 5;
    wb.openSheet("Раскрой", 9, rows, {60, 50, 60, 250, 60, 60, 50, 50, 60});
    wb.headingRow({"Артикул", "№ хлыста", "Хлыст, мм", "Отрезки, мм (дверь/номер)", "Остаток, мм",
                   "Из остатка"});
    for (const ArticleCut& a : plan.articles) {
        int n = 0;
        for (const PlannedBar& bar : a.plan.bars) {
            std::string cuts;
            for (int p : bar.pieces) {
                const BarPlanPiece& piece = a.pieces[static_cast<size_t>(p)];
                cuts += (cuts.empty() ? "" : "; ") + tenthsText(piece.length) + " (" +
                        doorAndMark(piece.doorIndex, piece.mark) + ")";
            }
            wb.beginRow();
            wb.cell("s23", CellType::String, a.code);
            wb.cell("s24", CellType::Number, text::format("%d", ++n));
            wb.cell("s24", CellType::Number, tenthsText(bar.length));
            wb.cell("s23", CellType::String, cuts);
            wb.cell("s24", CellType::Number, tenthsText(bar.offcut));
            wb.cell("s23", CellType::String, bar.fromOffcut ? "да" : "нет");
            wb.endRow();
        }
    }
    wb.emptyRow();
    wb.headingRow({"Артикул", "По смете, хл.", "По раскрою, хл.", "Из остатков", "Нижняя граница",
                   "Смета, руб.", "Раскрой, руб.", "Оптимален"});
    for (const ArticleCut& a : plan.articles) {
        wb.beginRow();
        wb.cell("s23", CellType::String, a.code);
        wb.cell("s24", CellType::Number, text::format("%d", a.billBars));
        wb.cell("s24", CellType::Number, text::format("%d", a.plan.newBars));
        wb.cell("s24", CellType::Number, text::format("%d", a.plan.offcutsUsed));
        wb.cell("s24", CellType::Number, text::format("%d", a.plan.lowerBound));
        wb.cell("s23", CellType::Number, text::format("%1.2f", a.billCost / 100.0));
        wb.cell("s23", CellType::Number, text::format("%1.2f", a.plan.cost / 100.0));
        wb.cell("s23", CellType::String, a.plan.proven ? "да" : "не доказано");
        wb.endRow();
    }
    wb.emptyRow();
    wb.headingRow({"Материал", "№ листа", "Лист, мм", "Деталь, мм", "X, мм", "Y, мм", "Дверь",
                   "Номер", "Повернута"});
    for (const MaterialCut& m : plan.materials) {
        int n = 0;
        for (const PlannedSheet& sheet : m.plan.sheets) {
            ++n;
            for (const PlacedPiece& placed : sheet.pieces) {
                const SheetPlanPiece& piece = m.pieces[static_cast<size_t>(placed.piece)];
                wb.beginRow();
                wb.cell("s23", CellType::String, m.code);
                wb.cell("s24", CellType::Number, text::format("%d", n));
                wb.cell("s24", CellType::String,
                        tenthsText(m.sheetWidth) + "x" + tenthsText(m.sheetHeight));
                wb.cell("s24", CellType::String,
                        tenthsText(piece.width) + "x" + tenthsText(piece.height));
                wb.cell("s24", CellType::Number, tenthsText(placed.x));
                wb.cell("s24", CellType::Number, tenthsText(placed.y));
                wb.cell("s24", CellType::Number, text::format("%d", piece.doorIndex + 1));
                wb.cell("s24", CellType::Number, text::format("%d", piece.mark));
                wb.cell("s23", CellType::String, placed.rotated ? "да" : "нет");
                wb.endRow();
            }
        }
    }
    wb.closeSheet();
}

} // namespace

std::string workbookBytes(Project& project, const WorkbookSheets& sheets, const CuttingPlan* plan) {
    Workbook wb;
    wb.header();
    if (sheets.order)
        orderSheet(wb, project);
    if (sheets.price)
        priceSheet(wb, project);
    if (sheets.profiles)
        profilesSheet(wb, project.result);
    if (sheets.assembly)
        assemblySheet(wb, project.result);
    if (sheets.plan) {
        if (plan != nullptr) {
            planSheet(wb, *plan);
        } else {
            planSheet(wb, CuttingPlan::buildWithShopOffcuts(project, PlanSettings()));
        }
    }
    wb.line(1, "</Workbook>");
    return exporttext::toWindows1251(wb.take());
}

bool exportWorkbook(Project& project, const std::filesystem::path& path,
                    const WorkbookSheets& sheets, std::string* reason, const CuttingPlan* plan) {
    if (!sheets.any())
        return false;
    return !fileio::writeFileAtomically(path, workbookBytes(project, sheets, plan), reason);
}

std::filesystem::path accountingCsvPathFor(const std::filesystem::path& workbookPath) {
    // Characters, not bytes: a name may end in Cyrillic letters.
    std::u16string s = text::utf8ToUtf16(workbookPath.string());
    s.resize(s.size() < 3 ? 0 : s.size() - 3);
    return text::utf16ToUtf8(s) + "csv";
}
