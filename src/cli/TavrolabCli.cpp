// tavrolab-cli: the scriptable face of the calculation core. Opens a sketch file exactly as the
// desktop program does (or builds a new project), recalculates it with the data folder's prices
// and writes the exports.

#include "calc/DSSystem.h"
#include "calc/SystemFactory.h"
#include "catalog/Catalog.h"
#include "catalog/DataPaths.h"
#include "cli/CliOptions.h"
#include "cli/CutListCommand.h"
#include "cli/JournalCommands.h"
#include "cli/PdfOutput.h"
#include "cli/ResultJson.h"
#include "model/AtomicFile.h"
#include "model/Project.h"
#include "model/SketchFile.h"
#include "output/AccountingCsv.h"
#include "output/LabelGrid.h"
#include "output/PlanJson.h"
#include "output/ResultTables.h"
#include "output/WorkbookWriter.h"
#include "plan/CuttingPlan.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace cli;

#ifndef TAVROLAB_VERSION
#define TAVROLAB_VERSION "0"
#endif

// The names a choice accepts, one per line after a heading, for the messages and --list.
std::string listed(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& n : names)
        text += "\n  " + n;
    return text;
}

std::vector<std::string> systemNames(const Catalog& catalog) {
    std::vector<std::string> names;
    for (const DSSystem* s : catalog.systems())
        names.push_back(s->code);
    return names;
}

std::vector<HandleProfile*> offeredHandles(DSSystem& system) {
    std::vector<HandleProfile*> offered;
    system.listHandleProfiles(offered);
    return offered;
}

std::vector<std::string> handleCodes(DSSystem& system) {
    std::vector<std::string> codes;
    for (const HandleProfile* h : offeredHandles(system))
        codes.push_back(h->code);
    return codes;
}

std::vector<std::string> colorNames(const HandleProfile* handle) {
    std::vector<std::string> names;
    if (handle != nullptr) {
        for (const ColorChoice& choice : handle->colorChoices)
            if (choice.color != nullptr)
                names.push_back(choice.color->code);
    }
    return names;
}

DSSystem& systemNamed(const Catalog& catalog, const std::string& name) {
    DSSystem* s = catalog.systemByName(name);
    if (s == nullptr)
        throw UsageError{"неизвестная система: " + name +
                         "; допустимые:" + listed(systemNames(catalog))};
    return *s;
}

HandleProfile& handleOf(const Catalog& catalog, DSSystem& system, const std::string& code) {
    std::vector<HandleProfile*> offered = offeredHandles(system);
    HandleProfile* h = catalog.handleByCode(code);
    if (h == nullptr || std::find(offered.begin(), offered.end(), h) == offered.end())
        throw UsageError{"ручка " + code + " не предлагается системой " + system.code +
                         "; допустимые:" + listed(handleCodes(system))};
    return *h;
}

// Millimetres typed on the command line in 0.1 mm, or nothing when the value cannot be one.
std::optional<int32_t> tenths(int32_t millimetres) {
    const int64_t v = int64_t{millimetres} * 10;
    if (v < INT32_MIN || v > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(v);
}

// Applies the settings of --new with the project's own setters, in the order system, handle
// profile, colour, sizes, door count. A value the program would refuse is reported.
void applyNewSettings(Project& p, const Options& o) {
    Catalog& catalog = p.catalog();
    if (o.system && !p.setSystem(&systemNamed(catalog, *o.system)) &&
        p.system != catalog.systemByName(*o.system))
        throw UsageError{"система " + *o.system + " не подходит к размерам проекта"};
    if (o.handle)
        p.setHandleProfile(&handleOf(catalog, *p.system, *o.handle));
    if (o.color) {
        ProfileColor* c = catalog.colorByName(*o.color);
        std::vector<std::string> offered = colorNames(p.handleProfile);
        if (c == nullptr || std::find(offered.begin(), offered.end(), c->code) == offered.end())
            throw UsageError{"цвет " + *o.color + " не предлагается для выбранной ручки; " +
                             "допустимые:" + listed(offered)};
        p.setColor(c);
    }
    auto size = [](const std::optional<int32_t>& mm, auto setter, const char* refusal) {
        std::optional<int32_t> v = tenths(*mm);
        if (!v || !setter(*v))
            throw UsageError{refusal};
    };
    if (o.width)
        size(
            o.width, [&](int32_t v) { return p.setOpeningWidth(v); },
            "недопустимая ширина проема (100..100000 мм)");
    if (o.height)
        size(
            o.height, [&](int32_t v) { return p.setHeight(v); },
            "недопустимая высота (100..10000 мм; у систем со шкафом больше ЛДСП и цоколя)");
    bool cabinet = p.system->cabinetMode != 0;
    if (o.plinth) {
        if (!cabinet)
            throw UsageError{"высота цоколя задается только для систем со шкафом"};
        if (*o.plinth < 54 || *o.plinth > 2000 || *o.plinth * 10 > p.height ||
            !p.setPlinthHeight(*o.plinth * 10))
            throw UsageError{"недопустимая высота цоколя (54..2000 мм, не больше высоты)"};
    }
    if (o.chipboard) {
        if (!cabinet)
            throw UsageError{"толщина ЛДСП задается только для систем со шкафом"};
        size(
            o.chipboard, [&](int32_t v) { return p.setChipboardThickness(v); },
            "недопустимая толщина ЛДСП (0..100 мм)");
    }
    if (o.doors) {
        int n = *o.doors;
        if (n < 1 || n > std::min(kMaxDoors, p.system->maxDoors()) ||
            p.system->clampDoorCount(n) != n)
            throw UsageError{"недопустимое количество дверей для системы " + p.system->code};
        p.setDoorCount(n);
    }
}

// The discount and the order card, as the totals panel and the order card take them.
void applyOrderSettings(Project& p, const Options& o) {
    if (o.discount) {
        std::string text = *o.discount;
        std::replace(text.begin(), text.end(), ',', '.');
        static const std::regex decimal("[0-9]{1,3}(\\.[0-9]+)?");
        if (!std::regex_match(text, decimal) || !p.setDiscountPercent(std::stod(text)))
            throw UsageError{"недопустимая скидка (0..100 %): " + *o.discount};
    }
    auto cost = [](const std::optional<int32_t>& roubles, int32_t& slot, const char* name) {
        if (*roubles < 0 || *roubles > 99999)
            throw UsageError{std::string("недопустимая стоимость ") + name + " (0..99999 руб.)"};
        slot = *roubles;
    };
    if (o.assembly)
        cost(o.assembly, p.order.assemblyCost, "сборки");
    if (o.delivery)
        cost(o.delivery, p.order.deliveryCost, "доставки");
    if (o.orderNumber) {
        static const std::regex digits("[0-9]{1,9}");
        if (!std::regex_match(*o.orderNumber, digits))
            throw UsageError{"номер заказа должен состоять из цифр: " + *o.orderNumber};
        p.order.orderNumber = *o.orderNumber;
    }
    if (o.customer)
        p.order.clientName = *o.customer;
    if (o.address)
        p.order.address = *o.address;
    if (o.phone)
        p.order.phone = *o.phone;
}

// --list: the systems, the handle profiles of a system (the first one when none is named) or the
// colours of a handle profile (the system's first when none is named), one per line.
void printList(const Catalog& catalog, const Options& o, std::ostream& out) {
    std::vector<std::string> names;
    if (*o.list == "systems") {
        names = systemNames(catalog);
    } else {
        if (catalog.systems().empty())
            throw UsageError{"в каталоге нет систем"};
        DSSystem& system = o.system ? systemNamed(catalog, *o.system) : *catalog.systems().front();
        if (*o.list == "handles") {
            names = handleCodes(system);
        } else {
            std::vector<HandleProfile*> offered = offeredHandles(system);
            const HandleProfile* handle = o.handle          ? &handleOf(catalog, system, *o.handle)
                                          : offered.empty() ? nullptr
                                                            : offered.front();
            names = colorNames(handle);
        }
    }
    for (const std::string& n : names)
        out << n << '\n';
}

// A data folder must give prices: without the price file, or with none for the catalog's
// articles, every bill would be zeros. Empty when the prices are there, else the message.
std::string missingPrices(const Catalog& catalog, const std::string& dataFolder) {
    const std::string path = DataPaths::profilePricePath(dataFolder);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return "в папке данных нет файла цен " + path;
    auto priced = [](const Article* a) {
        return a != nullptr && std::any_of(a->prices.begin(), a->prices.end(),
                                           [](int32_t price) { return price > 0; });
    };
    if (std::any_of(catalog.handleTable().begin(), catalog.handleTable().end(), priced) ||
        std::any_of(catalog.splitterTable().begin(), catalog.splitterTable().end(), priced) ||
        std::any_of(catalog.articleList().begin(), catalog.articleList().end(), priced))
        return {};
    return "в файле цен " + path + " нет ни одной цены для артикулов каталога";
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

PlanSettings planSettings(const Options& o) {
    PlanSettings s;
    if (o.kerf)
        s.kerf = *o.kerf * 10;
    if (o.trim)
        s.trim = *o.trim * 10;
    if (o.minOffcut)
        s.minOffcut = *o.minOffcut * 10;
    s.rotation = o.rotation;
    return s;
}

bool writeText(const std::string& path, const std::string& text, std::string* reason) {
    if (path == "-") {
        std::cout << text << std::flush;
        return static_cast<bool>(std::cout);
    }
    return fileio::writeFileAtomically(path, text, reason);
}

bool writeOutputs(Project& project, const Options& o) {
    std::string reason;
    auto failed = [&](const std::string& path) {
        std::cerr << fileio::saveErrorMessage(path, reason) << '\n';
        return false;
    };
    if (o.csv && exportAccountingCsv(project, *o.csv, &reason))
        return failed(*o.csv);
    std::optional<CuttingPlan> plan;
    auto cuttingPlan = [&]() -> const CuttingPlan& {
        if (!plan) {
            int badLines = 0;
            plan = CuttingPlan::buildWithShopOffcuts(project, planSettings(o), &badLines);
            if (badLines > 0)
                std::cerr << "tavrolab-cli: в файле остатков пропущено строк: " << badLines << '\n';
        }
        return *plan;
    };
    if (o.xml) {
        WorkbookSheets sheets = o.sheets ? parseSheets(*o.sheets) : WorkbookSheets{};
        if (exportWorkbook(project, *o.xml, sheets, &reason,
                           sheets.plan ? &cuttingPlan() : nullptr))
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
        } else if (!fileio::writeFileAtomically(*o.json, text, &reason)) {
            return failed(*o.json);
        }
    }
    if (o.plan) {
        // The plan names what the journal's offcut store could give the order, taking nothing.
        CuttingPlan shown = cuttingPlan();
        journalcli::countFromStore(shown, project, project.catalog().baseFolder(), o.journal);
        const std::string text =
            planJson(shown).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
        if (!writeText(*o.plan, text, &reason))
            return failed(*o.plan);
    }
    if (o.save && SketchFile::write(project, *o.save, &reason) != SketchFile::WriteOk)
        return failed(*o.save);
    if (o.pdf) {
        const std::string error = pdfoutput::writePdf(project, *o.pdf, o.documents);
        if (!error.empty()) {
            std::cerr << error << '\n';
            return false;
        }
    }
    if (o.pack) {
        const LabelGrid grid = o.labelGrid ? *LabelGrid::parse(*o.labelGrid) : LabelGrid();
        const std::string error = pdfoutput::writePack(project, *o.pack, grid, planSettings(o));
        if (!error.empty()) {
            std::cerr << error << '\n';
            return false;
        }
    }
    return true;
}

int run(const std::vector<std::string>& args) {
    Options o = parseOptions(args);
    if (o.help) {
        std::cout << kUsage;
        return kExitOk;
    }
    if (o.version) {
        std::cout << "tavrolab-cli " TAVROLAB_VERSION "\n";
        return kExitOk;
    }
    if (o.sheets)
        parseSheets(*o.sheets); // a wrong list is a usage error before anything is read
    if (o.pdf) {
        const std::string error = pdfoutput::usageError(o.documents);
        if (!error.empty())
            throw UsageError{error};
    }
    if (o.pack) {
        // The pack draws with the printed documents' painters: unavailable without them.
        const std::string error = pdfoutput::usageError(std::nullopt);
        if (!error.empty())
            throw UsageError{error};
        if (o.labelGrid && !LabelGrid::parse(*o.labelGrid))
            throw UsageError{"неверная сетка этикеток " + *o.labelGrid +
                             " (колонки x строки[:ширина x высота мм], на листе A4)"};
    }
    std::string dataFolder = o.data ? *o.data : Catalog::executableFolder();
    std::error_code ec;
    if (!std::filesystem::is_directory(dataFolder, ec))
        throw UsageError{"папка данных не найдена: " + dataFolder};

    Catalog catalog(dataFolder, makeAllSystems);
    if (o.list) {
        printList(catalog, o, std::cout);
        return kExitOk;
    }
    if (std::string missing = missingPrices(catalog, dataFolder); !missing.empty()) {
        std::cerr << "tavrolab-cli: " << missing << '\n';
        return kExitPrices;
    }
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
    applyOrderSettings(project, o);
    if (o.place) {
        // The placing's key is made from the order as it is about to be placed (the sketch with
        // the command line's order card), before the journal gives it a number.
        const std::string given = SketchFile::toBytes(project).value_or(std::string());
        return journalcli::placeOrder(project, dataFolder, o.journal, o.save, given, o.again);
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
    if (journalcli::isJournalCommand(args))
        return journalcli::runJournalCommand(args, Catalog::executableFolder());
    if (cutlistcli::isCutListCommand(args))
        return cutlistcli::runCutListCommand(args);
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
