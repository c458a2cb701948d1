#pragma once

#include <optional>
#include <string>
#include <vector>

class PrintJob;
class Project;
class TablePage;

// Which documents a job prints: one flag per entry of PrintedDocument::all(), in that order.
using DocumentChoice = std::vector<bool>;

// One printed document of the program. A job prints the chosen documents in the order of all(),
// each starting on a new page. To add a document, add an entry to the list in
// PrintedDocument.cpp with a function that prints its pages; the print choice, the PDF and the
// command line's --documents pick it up from there.
struct PrintedDocument {
    const char* key;   // its name on the command line (--documents)
    const char* title; // its text in the print choice
    // Prints the document's pages into the job, each opened with job.beginPage(). False when a
    // page could not be started (the job stops).
    bool (*print)(PrintJob& job, Project& project);

    static const std::vector<PrintedDocument>& all();

    // Every document chosen.
    static DocumentChoice everything();
    // The choice of a comma-separated list of keys ("order,price"). On an unknown or missing
    // name: nullopt, with the offending name in 'unknown'.
    static std::optional<DocumentChoice> fromKeys(const std::string& list, std::string& unknown);
    static bool anyChosen(const DocumentChoice& choice);

    // The pages of a table document: a page with its frame, then as many rows as fit, until
    // every table is complete. Every page carries number and logo.
    static bool printTablePages(PrintJob& job, TablePage& page);
};
