#pragma once

#include <QApplication>
#include <QComboBox>
#include <QTest>

#include <gtest/gtest.h>

namespace shelltest {

// Chooses the entry of a drop-down list with the arrow keys, as a user does; every step on the
// way is a choice the list reports.
inline void chooseEntry(QComboBox* list, const QString& text) {
    const int target = list->findText(text);
    ASSERT_GE(target, 0) << text.toStdString();
    while (list->currentIndex() < target)
        QTest::keyClick(list, Qt::Key_Down);
    while (list->currentIndex() > target)
        QTest::keyClick(list, Qt::Key_Up);
    QApplication::processEvents();
}

} // namespace shelltest
