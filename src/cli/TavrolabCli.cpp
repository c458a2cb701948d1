// tavrolab-cli: the scriptable face of the calculation core. Opens a sketch file exactly as the
// desktop program does (or builds a new project), recalculates it with the data folder's prices
// and writes the exports.

#include "calc/DSSystem.h"
#include "calc/SystemFactory.h"
#include "catalog/Catalog.h"
#include "cli/PdfOutput.h"
#include "cli/ResultJson.h"
#include "model/AtomicFile.h"
#include "model/Project.h"
#include "model/SketchFile.h"
#include "output/AccountingCsv.h"
#include "output/ResultTables.h"
#include "output/WorkbookWriter.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitInput = 2;
constexpr int kExitOutput = 3;
constexpr int kExitUsage = 64;

const char* const kUsage =
    "Использование:\n"
    "  tavrolab-cli [--data DIR] FILE.tav [--csv OUT.csv] [--xml OUT.xml\n"
    "               [--sheets order,price,profiles,assembly]] [--json OUT.json|-] "
    "[--save OUT.tav]\n"
    "               [--pdf OUT.pdf [--documents order,price,profiles,assembly]]\n"
    "  tavrolab-cli [--data DIR] --new [--system NAME] [--handle CODE] [--color NAME]\n"
    "               [--width MM] [--height MM] [--doors N] [--plinth MM] [--chipboard MM]\n"
    "               --save OUT.tav\n"
    "Без файлов вывода печатается расчет цены и итоги.\n"
    "Коды завершения: 0 успех, 2 файл не открыт или поврежден, 3 ошибка записи, "
    "64 неверный вызов.\n";

struct UsageError {
    std::string message;
};

struct Options {
    std::optional<std::string> data;
    std::optional<std::string> input;
    bool create = false;
    std::optional<std::string> system, handle, color;
    std::optional<int32_t> width, height, doors, plinth, chipboard;
    std::optional<std::string> csv, xml, json, save;
    std::optional<std::string> sheets;
    std::optional<std::string> pdf, documents;

    bool anyOutput() const { return csv || xml || json || save || pdf; }
    bool anyNewSetting() const {
        return system || handle || color || width || height || doors || plinth || chipboard;
    }
};

// A whole decimal number, optionally negative; nothing else may follow.
std::optional<int32_t> parseInteger(const std::string& s) {
    std::size_t i = s.size() > 0 && s[0] == '-' ? 1 : 0;
    if (i == s.size() || s.size() - i > 9)
        return std::nullopt;
    int64_t v = 0;
    for (std::size_t k = i; k < s.size(); ++k) {
        if (s[k] < '0' || s[k] > '9')
            return std::nullopt;
        v = v * 10 + (s[k] - '0');
    }
    return static_cast<int32_t>(i == 1 ? -v : v);
}

Options parseOptions(const std::vector<std::string>& args) {
    Options o;
    auto value = [&](std::size_t& i) -> std::string {
        if (i + 1 >= args.size())
            throw UsageError{"для " + args[i] + " не указано значение"};
        return args[++i];
    };
    auto text = [&](std::size_t& i, std::optional<std::string>& slot) {
        if (slot)
            throw UsageError{args[i] + " указан дважды"};
        slot = value(i);
    };
    auto number = [&](std::size_t& i, std::optional<int32_t>& slot) {
        if (slot)
            throw UsageError{args[i] + " указан дважды"};
        std::string name = args[i];
        std::string v = value(i);
        std::optional<int32_t> n = parseInteger(v);
        if (!n)
            throw UsageError{"значение " + name + " должно быть целым числом: " + v};
        slot = n;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--data")
            text(i, o.data);
        else if (a == "--new")
            o.create = true;
        else if (a == "--system")
            text(i, o.system);
        else if (a == "--handle")
            text(i, o.handle);
        else if (a == "--color")
            text(i, o.color);
        else if (a == "--width")
            number(i, o.width);
        else if (a == "--height")
            number(i, o.height);
        else if (a == "--doors")
            number(i, o.doors);
        else if (a == "--plinth")
            number(i, o.plinth);
        else if (a == "--chipboard")
            number(i, o.chipboard);
        else if (a == "--csv")
            text(i, o.csv);
        else if (a == "--xml")
            text(i, o.xml);
        else if (a == "--sheets")
            text(i, o.sheets);
        else if (a == "--json")
            text(i, o.json);
        else if (a == "--save")
            text(i, o.save);
        else if (a == "--pdf")
            text(i, o.pdf);
        else if (a == "--documents")
            text(i, o.documents);
        else if (a.size() > 1 && a[0] == '-')
            throw UsageError{"неизвестный параметр " + a};
        else if (o.input)
            throw UsageError{"указано больше одного файла эскиза"};
        else
            o.input = a;
    }
    if (o.create && o.input)
        throw UsageError{"--new не сочетается с файлом эскиза"};
    if (!o.create && !o.input)
        throw UsageError{"не указан файл эскиза"};
    if (o.create && !o.save)
        throw UsageError{"для --new нужен --save"};
    if (!o.create && o.anyNewSetting())
        throw UsageError{"параметры нового проекта допустимы только с --new"};
    if (o.sheets && !o.xml)
        throw UsageError{"--sheets допустим только с --xml"};
    if (o.documents && !o.pdf)
        throw UsageError{"--documents допустим только с --pdf"};
    return o;
}

WorkbookSheets parseSheets(const std::string& list) {
    WorkbookSheets s{false, false, false, false};
    std::stringstream in(list);
    std::string name;
    while (std::getline(in, name, ',')) {
        if (name == "order")
            s.order = true;
        else if (name == "price")
            s.price = true;
        else if (name == "profiles")
            s.profiles = true;
        else if (name == "assembly")
            s.assembly = true;
        else
            throw UsageError{"неизвестный лист " + name};
    }
    if (!s.any())
        throw UsageError{"в --sheets не указан ни один лист"};
    return s;
}

// Applies the settings of --new with the project's own setters, in the order system, handle
// profile, colour, sizes, door count. A value the program would refuse is reported.
void applyNewSettings(Project& p, const Options& o) {
    Catalog& catalog = p.catalog();
    if (o.system) {
        DSSystem* s = catalog.systemByName(*o.system);
        if (s == nullptr)
            throw UsageError{"неизвестная система: " + *o.system};
        p.setSystem(s);
    }
    if (o.handle) {
        std::vector<HandleProfile*> offered;
        p.system->listHandleProfiles(offered);
        HandleProfile* h = catalog.handleByCode(*o.handle);
        if (h == nullptr || std::find(offered.begin(), offered.end(), h) == offered.end())
            throw UsageError{"ручка " + *o.handle + " не предлагается системой " + p.system->code};
        p.setHandleProfile(h);
    }
    if (o.color) {
        ProfileColor* c = catalog.colorByName(*o.color);
        bool offered = false;
        if (c != nullptr && p.handleProfile != nullptr) {
            for (const ColorChoice& choice : p.handleProfile->colorChoices)
                offered = offered || choice.color == c;
        }
        if (!offered)
            throw UsageError{"цвет " + *o.color + " не предлагается для выбранной ручки"};
        p.setColor(c);
    }
    if (o.width && !p.setOpeningWidth(*o.width * 10))
        throw UsageError{"недопустимая ширина проема (100..100000 мм)"};
    if (o.height && !p.setHeight(*o.height * 10))
        throw UsageError{"недопустимая высота (100..10000 мм)"};
    bool cabinet = p.system->cabinetMode != 0;
    if (o.plinth) {
        if (!cabinet)
            throw UsageError{"высота цоколя задается только для систем со шкафом"};
        if (*o.plinth < 54 || *o.plinth > 2000 || *o.plinth * 10 > p.height)
            throw UsageError{"недопустимая высота цоколя (54..2000 мм, не больше высоты)"};
        p.setPlinthHeight(*o.plinth * 10);
    }
    if (o.chipboard) {
        if (!cabinet)
            throw UsageError{"толщина ЛДСП задается только для систем со шкафом"};
        if (!p.setChipboardThickness(*o.chipboard * 10))
            throw UsageError{"недопустимая толщина ЛДСП (0..100 мм)"};
    }
    if (o.doors) {
        int n = *o.doors;
        if (n < 1 || n > std::min(kMaxDoors, p.system->maxDoors()) ||
            p.system->clampDoorCount(n) != n)
            throw UsageError{"недопустимое количество дверей для системы " + p.system->code};
        p.setDoorCount(n);
    }
}

// Display width of UTF-8 text in characters.
std::size_t columns(const std::string& s) {
    std::size_t n = 0;
    for (char c : s)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

std::string pad(const std::string& s, std::size_t width, bool right) {
    std::size_t w = columns(s);
    std::string fill(width > w ? width - w : 0, ' ');
    return right ? fill + s : s + fill;
}

std::vector<std::string> lines(const std::string& s) {
    std::vector<std::string> out;
    std::stringstream in(s);
    std::string line;
    while (std::getline(in, line))
        out.push_back(line);
    if (out.empty())
        out.emplace_back();
    return out;
}

// The price table and the totals as aligned text; an error text goes on its own line under the
// article's name.
void printPriceCalculation(Project& project, std::ostream& out) {
    std::vector<ResultTable> tables = buildResultTables(project, ResultPage::Price);
    const ResultTable& items = tables.at(0);
    const ResultTable& totals = tables.at(1);
    std::vector<std::size_t> widths(static_cast<std::size_t>(items.columnCount()), 0);
    for (const ResultRow& row : items.rows) {
        for (std::size_t c = 0; c < row.cells.size(); ++c) {
            for (const std::string& l : lines(row.cells[c].text))
                widths[c] = std::max(widths[c], columns(l));
        }
    }
    for (const ResultRow& row : items.rows) {
        std::vector<std::vector<std::string>> cellLines;
        std::size_t height = 1;
        for (const ResultCell& cell : row.cells) {
            cellLines.push_back(lines(cell.text));
            height = std::max(height, cellLines.back().size());
        }
        for (std::size_t l = 0; l < height; ++l) {
            std::string text;
            for (std::size_t c = 0; c < cellLines.size(); ++c) {
                const std::string& part = l < cellLines[c].size() ? cellLines[c][l] : "";
                bool numeric = row.kind == ResultRowKind::Item && (c == 0 || c >= 3);
                text += (c ? "  " : "") + pad(part, widths[c], numeric);
            }
            while (!text.empty() && text.back() == ' ')
                text.pop_back();
            out << text << '\n';
        }
    }
    out << '\n';
    std::size_t labelWidth = 0, valueWidth = 0;
    for (const ResultRow& row : totals.rows) {
        labelWidth = std::max(labelWidth, columns(row.cells[0].text));
        valueWidth = std::max(valueWidth, columns(row.cells[1].text));
    }
    for (const ResultRow& row : totals.rows) {
        out << pad(row.cells[0].text, labelWidth, false) << "  "
            << pad(row.cells[1].text, valueWidth, true) << '\n';
    }
}

bool writeOutputs(Project& project, const Options& o) {
    auto failed = [](const std::string& path) {
        std::cerr << SketchFile::saveErrorMessage(path) << '\n';
        return false;
    };
    if (o.csv && exportAccountingCsv(project, *o.csv))
        return failed(*o.csv);
    if (o.xml) {
        WorkbookSheets sheets = o.sheets ? parseSheets(*o.sheets) : WorkbookSheets{};
        if (exportWorkbook(project, *o.xml, sheets))
            return failed(*o.xml);
    }
    if (o.json) {
        std::string text =
            resultJson(project).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) +
            "\n";
        if (*o.json == "-") {
            std::cout << text << std::flush;
            if (!std::cout)
                return failed("-");
        } else if (!fileio::writeFileAtomically(*o.json, text)) {
            return failed(*o.json);
        }
    }
    if (o.save && SketchFile::write(project, *o.save) != SketchFile::WriteOk)
        return failed(*o.save);
    if (o.pdf) {
        const std::string error = pdfoutput::writePdf(project, *o.pdf, o.documents);
        if (!error.empty()) {
            std::cerr << error << '\n';
            return false;
        }
    }
    return true;
}

int run(const std::vector<std::string>& args) {
    Options o = parseOptions(args);
    if (o.sheets)
        parseSheets(*o.sheets); // a wrong list is a usage error before anything is read
    if (o.pdf) {
        const std::string error = pdfoutput::usageError(o.documents);
        if (!error.empty())
            throw UsageError{error};
    }
    std::string dataFolder = o.data ? *o.data : Catalog::executableFolder();
    std::error_code ec;
    if (!std::filesystem::is_directory(dataFolder, ec))
        throw UsageError{"папка данных не найдена: " + dataFolder};

    Catalog catalog(dataFolder, makeAllSystems);
    Project project(catalog);
    if (o.input) {
        int rc = SketchFile::read(project, *o.input);
        if (rc != SketchFile::ReadOk) {
            std::string message = SketchFile::openErrorMessage(rc, *o.input);
            if (rc == SketchFile::UnsupportedVersion)
                message += " " + *o.input;
            std::cerr << message << '\n';
            return kExitInput;
        }
    } else {
        applyNewSettings(project, o);
    }
    if (!o.anyOutput()) {
        printPriceCalculation(project, std::cout);
        return kExitOk;
    }
    return writeOutputs(project, o) ? kExitOk : kExitOutput;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        return run(args);
    } catch (const UsageError& e) {
        std::cerr << "tavrolab-cli: " << e.message << "\n\n" << kUsage;
        return kExitUsage;
    } catch (const std::exception& e) {
        std::cerr << "tavrolab-cli: " << e.what() << '\n';
        return kExitInput;
    }
}
