#include "cli/CliOptions.h"

#include "cli/ArgReader.h"

#include <sstream>

namespace cli {

const char* const kUsage =
    "Использование:\n"
    "  tavrolab-cli [--data DIR] FILE.tav [ЗАКАЗ] [ВЫВОД]\n"
    "  tavrolab-cli [--data DIR] --new [--system NAME] [--handle CODE] [--color NAME]\n"
    "               [--width MM] [--height MM] [--doors N] [--plinth MM] [--chipboard MM]\n"
    "               [ЗАКАЗ] [ВЫВОД]\n"
    "  tavrolab-cli [--data DIR] --list systems|handles|colors [--system NAME] [--handle CODE]\n"
    "  tavrolab-cli --help | -h | --version\n"
    "ЗАКАЗ: [--discount ПРОЦЕНТ] [--assembly РУБ] [--delivery РУБ] [--order-number N]\n"
    "       [--customer ФИО] [--address АДРЕС] [--phone ТЕЛЕФОН]\n"
    "ВЫВОД: [--csv OUT.csv] [--xml OUT.xml [--sheets order,price,profiles,assembly,plan]]\n"
    "       [--json OUT.json|-] [--save OUT.tav]\n"
    "       [--plan OUT.json|- [--kerf MM] [--trim MM] [--min-offcut MM]\n"
    "        [--rotate ГРУППА] [--no-rotate ГРУППА] [--journal АДРЕС]]: с журналом план\n"
    "        называет, что дал бы склад остатков (fromStore)\n"
    "       [--pdf OUT.pdf [--documents order,price,profiles,assembly,plan,quote]]\n"
    "       [--pack OUT.pdf [--label-grid COLSxROWS[:WxH]]]: раскрой в пакете и этикетки\n"
    "        деловых остатков следуют --kerf, --trim, --min-offcut, --rotate, --no-rotate\n"
    "       или [--place [--again] [--journal АДРЕС] [--save OUT.tav]]: оформить заказ в журнале,\n"
    "       последняя строка вывода — номер заказа\n"
    "Без файлов вывода печатается расчет цены и итоги.\n"
    "Коды завершения: 0 успех, 2 файл не открыт или поврежден, 3 ошибка записи,\n"
    "4 в папке данных нет цен, 5 журнал заказов недоступен, 6 заказ уже оформлен (--place),\n"
    "7 сервер журнала заказов не отвечает, 64 неверный вызов.\n"
    "Команды журнала заказов (список, состояния, отчет, оплата по заказу):\n"
    "  tavrolab-cli journal --help\n"
    "Раскрой любого списка деталей по складу: tavrolab-cli cutlist --help\n";

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
    const ArgReader reader(args);
    auto value = [&](std::size_t& i) { return reader.value(i); };
    auto text = [&](std::size_t& i, std::optional<std::string>& slot) { reader.text(i, slot); };
    auto number = [&](std::size_t& i, std::optional<int32_t>& slot) { reader.number(i, slot); };
    // Help and version answer whatever else the line holds.
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h")
            o.help = true;
        else if (a == "--version")
            o.version = true;
    }
    if (o.help || o.version)
        return o;
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
        else if (a == "--plan")
            text(i, o.plan);
        else if (a == "--kerf")
            number(i, o.kerf);
        else if (a == "--trim")
            number(i, o.trim);
        else if (a == "--min-offcut")
            number(i, o.minOffcut);
        else if (a == "--rotate" || a == "--no-rotate")
            o.rotation[value(i)] = a == "--rotate";
        else if (a == "--list")
            text(i, o.list);
        else if (a == "--discount")
            text(i, o.discount);
        else if (a == "--assembly")
            number(i, o.assembly);
        else if (a == "--delivery")
            number(i, o.delivery);
        else if (a == "--order-number")
            text(i, o.orderNumber);
        else if (a == "--customer")
            text(i, o.customer);
        else if (a == "--address")
            text(i, o.address);
        else if (a == "--phone")
            text(i, o.phone);
        else if (a == "--pdf")
            text(i, o.pdf);
        else if (a == "--documents")
            text(i, o.documents);
        else if (a == "--pack")
            text(i, o.pack);
        else if (a == "--label-grid")
            text(i, o.labelGrid);
        else if (a == "--place")
            o.place = true;
        else if (a == "--again")
            o.again = true;
        else if (a == "--journal")
            text(i, o.journal);
        else if (a.size() > 1 && a[0] == '-')
            throw UsageError{"неизвестный параметр " + a};
        else if (o.input)
            throw UsageError{"указано больше одного файла эскиза"};
        else
            o.input = a;
    }
    if (o.list) {
        if (*o.list != "systems" && *o.list != "handles" && *o.list != "colors")
            throw UsageError{"--list принимает systems, handles или colors, а не " + *o.list};
        if (o.input || o.create || o.anyOutput() || o.width || o.height || o.doors || o.plinth ||
            o.chipboard || o.color)
            throw UsageError{"--list сочетается только с --data, --system и --handle"};
        return o;
    }
    if (o.create && o.input)
        throw UsageError{"--new не сочетается с файлом эскиза"};
    if (!o.create && !o.input)
        throw UsageError{"не указан файл эскиза"};
    if (!o.create && o.anyNewSetting())
        throw UsageError{"параметры нового проекта допустимы только с --new"};
    if (o.sheets && !o.xml)
        throw UsageError{"--sheets допустим только с --xml"};
    checkCutSettings(o.kerf, o.trim, o.minOffcut);
    if (o.documents && !o.pdf)
        throw UsageError{"--documents допустим только с --pdf"};
    if (o.labelGrid && !o.pack)
        throw UsageError{"--label-grid допустим только с --pack"};
    if (o.place && (o.csv || o.xml || o.json || o.plan || o.pdf || o.pack))
        throw UsageError{"--place сочетается из файлов вывода только с --save"};
    if (o.again && !o.place)
        throw UsageError{"--again допустим только с --place"};
    if (o.journal && !o.place && !o.plan)
        throw UsageError{"--journal допустим только с --place, --plan и командами journal"};
    return o;
}

WorkbookSheets parseSheets(const std::string& list) {
    WorkbookSheets s{false, false, false, false, false};
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
        else if (name == "plan")
            s.plan = true;
        else
            throw UsageError{"неизвестный лист " + name};
    }
    if (!s.any())
        throw UsageError{"в --sheets не указан ни один лист"};
    return s;
}

} // namespace cli
