#pragma once

#include "ui/workshop/CutListPage.h"
#include "ui/workshop/CutListTable.h"
#include "ui/workshop/CutListTableBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTest>

#include <vector>

// Drives the cut list page as a person does: rows typed cell by cell with the keyboard, buttons
// clicked with the mouse, and waiting on what the page shows.
namespace cutlisttest {

// Types text into whatever has the keyboard focus, one key press per character (Cyrillic too,
// which QTest::keyClicks cannot), as the keyboard would send it.
inline void typeText(const QString& text) {
    for (QChar c : text) {
        QWidget* target = QApplication::focusWidget();
        if (target == nullptr)
            return;
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &release);
    }
}

inline void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    if (QWidget* target = QApplication::focusWidget())
        QTest::keyClick(target, key, modifiers);
    // The cell's editor commits what Enter ends on the next turn of the event loop.
    QApplication::processEvents();
}

// "Добавить строку", then the fields typed one after another with Tab between them and Enter
// after the last.
inline void typeRow(CutListTableBox* box, const QStringList& fields) {
    QTest::mouseClick(box->addButton(), Qt::LeftButton);
    for (int k = 0; k < fields.size(); ++k) {
        typeText(fields[k]);
        pressKey(k + 1 < fields.size() ? Qt::Key_Tab : Qt::Key_Return);
    }
}

// A click into a cell, which makes it the current one.
inline void clickCell(CutListTable* table, int row, int column) {
    const QRect cell = table->visualRect(table->model()->index(row, column));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
}

// A click into a cell and its text typed in place of what it held, Enter after it.
inline void typeIntoCell(CutListTable* table, int row, int column, const QString& text) {
    clickCell(table, row, column);
    if (qobject_cast<QLineEdit*>(QApplication::focusWidget()) == nullptr)
        pressKey(Qt::Key_F2); // the click did not open the cell for typing
    pressKey(Qt::Key_A, Qt::ControlModifier);
    pressKey(Qt::Key_Backspace);
    typeText(text);
    pressKey(Qt::Key_Return);
}

// The table's cells as the page shows them.
inline std::vector<QStringList> cells(const CutListTable* table) {
    std::vector<QStringList> out;
    for (int r = 0; r < table->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < table->columnCount(); ++c)
            row << (table->item(r, c) ? table->item(r, c)->text() : QString());
        out.push_back(row);
    }
    return out;
}

// Clicks "Рассчитать" and waits, up to the given time, until the button can be pressed again,
// as a person waits for the plan.
inline bool planAndWait(CutListPage* page, int timeoutMs = 30000) {
    QTest::mouseClick(page->planButton(), Qt::LeftButton);
    return QTest::qWaitFor([page] { return page->planButton()->isEnabled(); }, timeoutMs);
}

} // namespace cutlisttest
