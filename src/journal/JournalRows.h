#pragma once

#include "journal/JournalOrder.h"

#include <QSqlQuery>
#include <QString>
#include <QVariantList>

// How an order's fields map to the columns of the orders table, for the journal's own queries.
namespace journalrows {

// What was paid on the order whose number the SQL expression gives, refunds taken off, as an
// SQL expression.
QString paidOf(const QString& number);

// The columns an order is read from, in the order orderAt expects them.
extern const QString kColumns;
JournalOrder orderAt(const QSqlQuery& q);

// The INSERT of a new order and its values, search columns included.
extern const QString kInsert;
QVariantList insertValues(const JournalOrder& o);

// The search forms kept beside the texts: the customer in lower case, and the text a search looks
// in (the number as shown, the customer and phone in lower case, the phone's digits).
std::string folded(const std::string& text);
std::string searchText(const JournalOrder& o);
std::string digitsOf(const std::string& text);

} // namespace journalrows
