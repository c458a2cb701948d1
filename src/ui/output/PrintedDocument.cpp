#include "ui/output/PrintedDocument.h"

#include "output/ResultTables.h"
#include "ui/output/DlgPlan.h"
#include "ui/output/DlgTable.h"
#include "ui/output/OrderPage.h"
#include "ui/output/PrintJob.h"
#include "ui/output/TableRenderer.h"

#include <sstream>

namespace {

template <ResultPage Page>
bool printResultPage(PrintJob& job, Project& project) {
    TablePage page;
    page.setTables(DlgTable::gridTables(buildResultTables(project, Page)));
    return PrintedDocument::printTablePages(job, page);
}

} // namespace

const std::vector<PrintedDocument>& PrintedDocument::all() {
    static const std::vector<PrintedDocument> documents = {
        {"order", "Информация о заказе + эскиз", OrderPage::print},
        {"price", "Рассчет цены", printResultPage<ResultPage::Price>},
        {"profiles", "Профили и материалы", printResultPage<ResultPage::Profiles>},
        {"assembly", "Информация по сборке", printResultPage<ResultPage::Assembly>},
        {"plan", "Раскрой", DlgPlan::printPages},
    };
    return documents;
}

DocumentChoice PrintedDocument::everything() {
    return DocumentChoice(all().size(), true);
}

std::optional<DocumentChoice> PrintedDocument::fromKeys(const std::string& list,
                                                        std::string& unknown) {
    DocumentChoice choice(all().size(), false);
    std::stringstream in(list);
    std::string name;
    while (std::getline(in, name, ',')) {
        bool found = false;
        for (std::size_t k = 0; k < all().size(); ++k) {
            if (name == all()[k].key) {
                choice[k] = true;
                found = true;
            }
        }
        if (!found) {
            unknown = name;
            return std::nullopt;
        }
    }
    if (!anyChosen(choice)) {
        unknown.clear();
        return std::nullopt;
    }
    return choice;
}

bool PrintedDocument::anyChosen(const DocumentChoice& choice) {
    for (bool chosen : choice) {
        if (chosen)
            return true;
    }
    return false;
}

bool PrintedDocument::printTablePages(PrintJob& job, TablePage& page) {
    // printPage places at least one row on every page (a row taller than a page is printed
    // clipped on a page of its own), so this always comes to an end.
    do {
        if (!job.beginPage())
            return false;
    } while (!page.printPage(job.painter(), job.rect()));
    return true;
}
