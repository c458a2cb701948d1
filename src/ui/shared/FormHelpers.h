#pragma once

#include <QHeaderView>
#include <QLabel>
#include <QString>
#include <QStringList>
#include <QTableWidget>
#include <QWidget>

#include <initializer_list>

// Small helpers of the windows' forms.
namespace form {

// The widget, given the name a screen reader says.
template <class W>
W* named(W* widget, const QString& name) {
    widget->setAccessibleName(name);
    return widget;
}

// A label for a field, which Alt and its underlined letter (or a click) move to the field.
inline QLabel* caption(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

// A table of texts to read, not to edit: whole rows selected, no row numbers.
inline void readOnlyTable(QTableWidget* table, const QStringList& headers) {
    table->setColumnCount(static_cast<int>(headers.size()));
    table->setHorizontalHeaderLabels(headers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
}

// Fills one row of such a table; the columns given (money, counts) are aligned right.
inline void fillRow(QTableWidget* table, int row, const QStringList& texts,
                    std::initializer_list<int> rightAligned = {}) {
    for (int c = 0; c < texts.size(); ++c) {
        auto* item = new QTableWidgetItem(texts[c]);
        for (int r : rightAligned)
            if (r == c)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table->setItem(row, c, item);
    }
}

} // namespace form
