#pragma once

#include "journal/JournalOrder.h"

#include <QString>

#include <cstdint>
#include <optional>

class JournalRunner;
class Project;
class QWidget;

// Storing the edited project as a new revision of a placed order: the order as the journal has
// it now, the user's rights, a reason when the order is in production or later, the difference
// in total and the balance that follows asked about before anything is stored.
namespace orderrevision {

// The question shown before a revision is stored.
QString question(const JournalOrder& before, int64_t newTotalKopecks);

// Asks and stores; returns the order as stored, or nullopt when the user cancelled or the
// journal refused (said in a message box).
std::optional<JournalOrder> revise(QWidget* window, JournalRunner& journal, Project& project,
                                   int64_t number);

} // namespace orderrevision
