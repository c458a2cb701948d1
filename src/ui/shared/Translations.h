#pragma once

class QCoreApplication;

namespace translations {

// Makes Qt's own windows and buttons speak Russian (the file dialogs, the buttons of message
// boxes, the print dialog) by loading Qt's Russian translation into the application. False when
// the translation is not installed; the program then works on with Qt's English texts.
bool installQtRussian(QCoreApplication& app);

} // namespace translations
