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
    // A list that will not keep the entry (a handler setting it back) fails instead of looping.
    for (int presses = 0; list->currentIndex() != target && presses <= 2 * list->count(); ++presses)
        QTest::keyClick(list, list->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
    QApplication::processEvents();
    EXPECT_EQ(list->currentText(), text) << "the list does not keep the entry chosen";
}

} // namespace shelltest
