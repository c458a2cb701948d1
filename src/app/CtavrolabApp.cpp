#include "app/CtavrolabApp.h"

#include "app/CtavrolabDlg.h"
#include "calc/SystemFactory.h"
#include "catalog/Catalog.h"
#include "model/Project.h"
#include "ui/Style.h"

CtavrolabApp::CtavrolabApp(int& argc, char** argv)
    : QApplication(argc, argv), project_(std::make_unique<Project>(programCatalog())),
      boldFont_(style::boldFont()) {
    setApplicationName(QStringLiteral("tavrolab"));
}

CtavrolabApp::~CtavrolabApp() = default;

int CtavrolabApp::run() {
    CtavrolabDlg window(*project_);
    window.show();
    return exec();
}
