#pragma once

#include "journal/JournalOrder.h"

#include <cstdint>
#include <filesystem>
#include <string>

class CalcResult;
class Journal;
class OrderNumberFile;
class Project;

// Placing the open project's order in the journal: the number comes from the journal, and the
// order card with that number is saved as the sketch file and kept in the journal within the
// same transaction. Either all of it happens or none: a failed placing leaves the project, the
// journal and the number unchanged.
namespace orderplacing {

// The journal's record of the project's order: the order card, the system and sizes, the money.
JournalOrder recordOf(Project& project, const std::string& salesperson,
                      const std::string& filePath);
// The bill's article and filling rows as a JSON array.
std::string billJsonOf(const CalcResult& result);
// "%05d" of a number, as order numbers are shown.
std::string numberText(int64_t number);

// The number the next order would get: the journal's, or the number file's for a new journal.
int64_t nextNumber(Journal& journal, const OrderNumberFile& numbers);

// Where place() saves the sketch: a file named after the number offered is renamed after the
// number the order got.
std::filesystem::path savedPathFor(const std::filesystem::path& sketchPath,
                                   const std::string& offeredNumber, int64_t number);

// Places the order and returns its number; the project's order card then carries it and the
// number file is moved past it, so that a seat without the journal does not hand it out again.
// The sketch is saved to sketchPath unless it is empty; a path named after the number the
// salesperson was offered (offeredNumber, by default the order card's) is renamed after the
// number the order got, should another seat have taken that one meanwhile. Throws JournalError
// (NotSaved when the sketch could not be saved).
//
// A key (see Journal::place) makes a repeated placing answer with the first one's number; the
// order card then carries that number.
int64_t place(Journal& journal, Project& project, const OrderNumberFile& numbers,
              const std::string& salesperson, std::filesystem::path sketchPath = {},
              std::string offeredNumber = {}, const std::string& key = {});

// Stores the project as a new revision of the placed order with this number (the card keeps
// the number); returns the revision's number. Refused as Journal::revise refuses.
int revise(Journal& journal, Project& project, int64_t number, const std::string& reason,
           const std::string& salesperson, const std::string& key = {});

} // namespace orderplacing
