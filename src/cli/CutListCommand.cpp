#include "cli/CutListCommand.h"

#include "cli/ArgReader.h"
#include "cli/CliOptions.h"
#include "cli/CutListJson.h"
#include "cli/PdfOutput.h"
#include "model/AtomicFile.h"
#include "output/CutListLabels.h"
#include "plan/CutListPlan.h"
#include "text/Format.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <optional>
#include <regex>
#include <sstream>

namespace cutlistcli {

const char* const kUsage =
    "Использование:\n"
    "  tavrolab-cli cutlist ДЕТАЛИ.csv --stock СКЛАД.csv [--kerf MM] [--trim MM]\n"
    "               [--min-offcut MM] [--rotate | --no-rotate] [--seconds S]\n"
    "               [--plan OUT.json|-] [--pdf OUT.pdf] [--labels OUT.pdf]\n"
    "ДЕТАЛИ.csv: столбцы Материал;Обозначение;Длина;Ширина;Количество;Поворот (без ширины —\n"
    "  отрезок хлыста, с шириной — деталь из листа: длина вдоль волокна, ширина поперек).\n"
    "СКЛАД.csv: столбцы Материал;Длина;Ширина;Количество;Цена (цена за хлыст или лист;\n"
    "  строка с количеством и ценой 0 — остаток на складе; без количества — сколько нужно).\n"
    "Размеры в мм, до одного знака после запятой; кодировка UTF-8 или Windows-1251.\n"
    "--seconds: время расчета на каждый материал (по умолчанию 1 с).\n"
    "--pdf: карты раскроя; --labels: этикетки деталей и деловых остатков (листы A4).\n"
    "Без файлов вывода печатается итог по материалам.\n"
    "Коды завершения: 0 успех, 2 файл не открыт или содержит ошибку, 3 ошибка записи,\n"
    "64 неверный вызов.\n";

namespace {

using cli::UsageError;

struct Options {
    std::optional<std::string> pieces, stock, plan, pdf, labels;
    std::optional<int32_t> kerf, trim, minOffcut;
    std::optional<bool> rotate;
    std::optional<double> seconds;
    bool help = false;
};

Options parse(const std::vector<std::string>& args) {
    Options o;
    const cli::ArgReader reader(args);
    auto value = [&](size_t& i) { return reader.value(i); };
    auto text = [&](size_t& i, std::optional<std::string>& slot) { reader.text(i, slot); };
    auto number = [&](size_t& i, std::optional<int32_t>& slot) { reader.number(i, slot); };
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h")
            o.help = true;
        else if (a == "--stock")
            text(i, o.stock);
        else if (a == "--plan")
            text(i, o.plan);
        else if (a == "--kerf")
            number(i, o.kerf);
        else if (a == "--trim")
            number(i, o.trim);
        else if (a == "--min-offcut")
            number(i, o.minOffcut);
        else if (a == "--rotate" || a == "--no-rotate") {
            if (o.rotate)
                throw UsageError{"--rotate и --no-rotate указываются не больше одного раза"};
            o.rotate = a == "--rotate";
        } else if (a == "--seconds") {
            if (o.seconds)
                throw UsageError{"--seconds указан дважды"};
            std::string v = value(i);
            std::replace(v.begin(), v.end(), ',', '.');
            static const std::regex decimal("[0-9]{1,3}(\\.[0-9]{1,3})?");
            if (!std::regex_match(v, decimal) || std::stod(v) <= 0 || std::stod(v) > 600)
                throw UsageError{"недопустимое время расчета (больше 0 и до 600 с): " + args[i]};
            o.seconds = std::stod(v);
        } else if (a == "--pdf")
            text(i, o.pdf);
        else if (a == "--labels")
            text(i, o.labels);
        else if (a.size() > 1 && a[0] == '-')
            throw UsageError{"неизвестный параметр " + a};
        else if (o.pieces)
            throw UsageError{"указано больше одного списка деталей"};
        else
            o.pieces = a;
    }
    if (o.help)
        return o;
    if (!o.pieces)
        throw UsageError{"не указан список деталей"};
    if (!o.stock)
        throw UsageError{"не указан склад (--stock)"};
    cli::checkCutSettings(o.kerf, o.trim, o.minOffcut);
    if (o.pdf || o.labels) {
        // The pages are drawn with the printed documents' painters: unavailable without them.
        const std::string error = pdfoutput::usageError(std::nullopt);
        if (!error.empty())
            throw UsageError{error};
    }
    return o;
}

std::optional<std::string> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return bytes.str();
}

// Reads both files into the list; the message of the first refusal on failure.
std::optional<std::string> readList(const Options& o, CutList& list) {
    const std::optional<std::string> pieces = readFile(*o.pieces);
    if (!pieces)
        return "не удалось открыть файл " + *o.pieces;
    const std::optional<std::string> stock = readFile(*o.stock);
    if (!stock)
        return "не удалось открыть файл " + *o.stock;
    auto readPieces = CutList::readPieces(*pieces, list.settings.rotate);
    if (const auto* e = std::get_if<CutListError>(&readPieces))
        return *o.pieces + ": " + e->message;
    auto readStock = CutList::readStock(*stock);
    if (const auto* e = std::get_if<CutListError>(&readStock))
        return *o.stock + ": " + e->message;
    list.pieces = std::get<std::vector<CutListPiece>>(std::move(readPieces));
    list.stock = std::get<std::vector<CutStock>>(std::move(readStock));
    if (const std::optional<CutListError> e = list.missingStock())
        return *o.pieces + ": " + e->message;
    return std::nullopt;
}

void printTotals(const CutListPlan& plan, std::ostream& out) {
    for (const CutListTotal& t : plan.totals) {
        out << t.material << ": "
            << text::format("%s %d, остатков %d, %.2f руб.%s", t.sheets ? "листов" : "хлыстов",
                            t.newCount, t.offcutsUsed, static_cast<double>(t.cost) / 100.0,
                            t.proven ? "" : " (не доказано, что дешевле нельзя)");
        if (t.notCut > 0)
            out << text::format("; не раскроено деталей: %d", t.notCut);
        out << '\n';
    }
}

bool writeOutputs(const CutListPlan& plan, const Options& o) {
    if (o.plan) {
        const std::string text =
            cutListJson(plan).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
        std::string reason;
        if (*o.plan == "-") {
            std::cout << text << std::flush;
            if (!std::cout) {
                std::cerr << fileio::saveErrorMessage("-") << '\n';
                return false;
            }
        } else if (!fileio::writeFileAtomically(*o.plan, text, &reason)) {
            std::cerr << fileio::saveErrorMessage(*o.plan, reason) << '\n';
            return false;
        }
    }
    std::string error;
    if (o.pdf)
        error = pdfoutput::writeCutListPlan(plan.cuts, *o.pdf);
    if (error.empty() && o.labels)
        error = pdfoutput::writeCutListLabels(cutListLabels(plan), *o.labels);
    if (!error.empty())
        std::cerr << error << '\n';
    return error.empty();
}

int run(const std::vector<std::string>& args) {
    const Options o = parse(args);
    if (o.help) {
        std::cout << kUsage;
        return cli::kExitOk;
    }
    CutList list;
    if (o.kerf)
        list.settings.plan.kerf = *o.kerf * 10;
    if (o.trim)
        list.settings.plan.trim = *o.trim * 10;
    if (o.minOffcut)
        list.settings.plan.minOffcut = *o.minOffcut * 10;
    list.settings.rotate = o.rotate.value_or(true);
    list.settings.secondsPerMaterial = o.seconds.value_or(1.0);
    if (const std::optional<std::string> error = readList(o, list)) {
        std::cerr << "tavrolab-cli: " << *error << '\n';
        return cli::kExitInput;
    }
    const CutListPlan plan = CutListPlan::build(list);
    if (!o.plan && !o.pdf && !o.labels) {
        printTotals(plan, std::cout);
        return cli::kExitOk;
    }
    return writeOutputs(plan, o) ? cli::kExitOk : cli::kExitOutput;
}

} // namespace

bool isCutListCommand(const std::vector<std::string>& args) {
    return !args.empty() && args[0] == "cutlist";
}

int runCutListCommand(const std::vector<std::string>& args) {
    try {
        return run(args);
    } catch (const UsageError& e) {
        std::cerr << "tavrolab-cli: " << e.message << "\n\n" << kUsage;
        return cli::kExitUsage;
    }
}

} // namespace cutlistcli
