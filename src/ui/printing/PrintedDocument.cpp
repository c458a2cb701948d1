#include "ui/printing/PrintedDocument.h"

#include "output/ResultTables.h"
#include "ui/printing/OrderPage.h"
#include "ui/printing/PrintJob.h"
#include "ui/results/CuttingPlanPainter.h"
#include "ui/results/DlgPlan.h"
#include "ui/results/DlgTable.h"
#include "ui/results/TableRenderer.h"

#include <sstream>

namespace {

template <ResultPage Page>
bool printResultPage(PrintJob& job, Project& project) {
    TablePage page;
    page.setTables(DlgTable::gridTables(buildResultTables(project, Page)));
    return PrintedDocument::printTablePages(job, page);
}

// The document "Раскрой": the plan page by page below each page's frame.
bool printPlanPages(PrintJob& job, Project& project) {
    const CuttingPlan plan = DlgPlan::planFor(project);
    const CuttingPlanPainter painter(plan);
    if (!job.beginPage())
        return false;
    // Every page has the same frame, so the first page's room is every page's.
    const int pages = painter.pageCount(job.rect().size(), job.dpiY());
    for (int i = 0; i < pages; ++i) {
        if (i > 0 && !job.beginPage())
            return false;
        painter.paint(job.painter(), job.rect(), i, job.dpiY());
    }
    return true;
}

} // namespace

const std::vector<PrintedDocument>& PrintedDocument::all() {
    static const std::vector<PrintedDocument> documents = {
        {"order", "Информация о заказе + эскиз", OrderPage::print},
        {"price", "Рассчет цены", printResultPage<ResultPage::Price>},
        {"profiles", "Профили и материалы", printResultPage<ResultPage::Profiles>},
        {"assembly", "Информация по сборке", printResultPage<ResultPage::Assembly>},
        {"plan", "Раскрой", printPlanPages},
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
