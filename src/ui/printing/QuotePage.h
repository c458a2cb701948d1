#pragma once

#include <QString>

#include <string>
#include <vector>

class PrintJob;
class Project;
class QPainter;
class QRect;
struct ResultTable;

// The customer's one-page quote ("Коммерческое предложение"): the wardrobe drawn with its
// fillings and overall sizes, the system, handle profile and colour, the fillings of each door,
// the sum with discount, assembly, delivery and total as the bill gives them, the order's number
// and date, and the shop's conditions. The drawing takes the room the texts leave, so that ten
// doors still fit one A4 page.
class QuotePage {
public:
    static bool print(PrintJob& job, Project& project);

    // The tables under the drawing: the order's make-up, the fillings per door, the totals.
    static std::vector<ResultTable> tables(Project& project);

    static const char* const kTitle;
};
