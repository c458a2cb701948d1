// tavrolab-summary: a quick look at what the program starts with — the systems and handle
// profiles of the catalog beside the executable, and the default project with its price.
#include "calc/DSSystem.h"
#include "calc/SystemFactory.h"
#include "catalog/Catalog.h"
#include "catalog/HandleProfile.h"
#include "catalog/ProfileColor.h"
#include "catalog/SplitterProfile.h"
#include "model/Project.h"
#include "text/Format.h"

#include <cstdio>
#include <exception>
#include <string>

namespace {

void line(const std::string& s) {
    std::fputs(s.c_str(), stdout);
    std::fputc('\n', stdout);
}

std::string orNone(const DSItem* item) {
    return item ? item->code : std::string("Нет");
}

std::string millimetres(int32_t units) {
    return text::format("%d мм", units / 10);
}

} // namespace

int main() {
    try {
        Catalog& catalog = programCatalog();
        line("Каталог: " + catalog.baseFolder());
        line(text::format("Системы (%d):", static_cast<int>(catalog.systems().size())));
        for (const DSSystem* s : catalog.systems()) {
            line(text::format("  %d. %s — ручек: %d, разделителей: %d, артикулов: %d%s",
                              s->index + 1, s->code.c_str(),
                              static_cast<int>(s->handleProfiles.size()),
                              static_cast<int>(s->splitterProfiles.size()),
                              static_cast<int>(s->systemArticles.size()),
                              s->cabinetMode ? ", размеры по корпусу" : ""));
        }
        line(text::format("Ручки (%d):", static_cast<int>(catalog.handleTable().size())));
        for (const HandleProfile* h : catalog.handleTable()) {
            line(text::format("  %s — %s, цветов: %d", h->code.c_str(), h->name.c_str(),
                              static_cast<int>(h->colorChoices.size())));
        }
        line(text::format("Групп материалов: %d",
                          static_cast<int>(catalog.materialGroups().size())));

        Project project(catalog);
        line("Проект по умолчанию:");
        line("  Система: " + orNone(project.system));
        line("  Ручка: " + orNone(project.handleProfile));
        line("  Цвет: " + orNone(project.color));
        line("  Разделитель: " + orNone(project.splitterProfile));
        line("  Ширина проёма: " + millimetres(project.openingWidth));
        line("  Высота: " + millimetres(project.height));
        line(text::format("  Количество дверей: %d", project.doorCount));
        for (int i = 0; i < project.doorCount; ++i) {
            const Door& d = project.doors->doors[i];
            line(text::format("    Дверь %d: %s × %s", i + 1, millimetres(d.width).c_str(),
                              millimetres(d.height).c_str()));
        }
        line(text::format("  Строк артикулов: %d, строк заполнения: %d",
                          static_cast<int>(project.result.articles.size()),
                          static_cast<int>(project.result.fillings.size())));
        const int64_t total = project.priceTotal();
        line(text::format("Сумма: %0.2f руб.", total / 100.0));
        line("Итого: " + project.grandTotalText());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tavrolab-summary: %s\n", e.what());
        return 1;
    }
}
