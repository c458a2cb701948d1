#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class Catalog;
class Journal;
class OrderNumberFile;

// An order kept to be placed once the journal answers: its sketch file and the placing's key.
struct PendingPlacing {
    std::string key;
    std::filesystem::path sketch;
    std::string salesperson;
    std::string offered; // the number the order card showed when it was kept
    int64_t since = 0;   // seconds since the epoch
};

// Orders that could not be placed because the journal did not answer, one small file each in
// the user's state folder, placed when the journal answers again. An entry goes only once its
// placing succeeded; its key makes a placing repeated after a lost answer (or after the program
// stopped between the placing and removing the entry) give the first one's number.
class PendingPlacings {
public:
    // folder empty: the user's state folder's "pending".
    explicit PendingPlacings(std::filesystem::path folder = {});
    const std::filesystem::path& folder() const { return folder_; }

    // Keeps the entry; throws std::runtime_error with the message to show.
    void add(const PendingPlacing& placing) const;
    // Oldest first; entries that cannot be read are skipped.
    std::vector<PendingPlacing> list() const;
    void remove(const std::string& key) const;

    struct Placed {
        PendingPlacing placing;
        int64_t number = 0;
        std::filesystem::path file; // the sketch with its number (renamed after it when it was
                                    // named after the number offered)
    };
    struct Outcome {
        std::vector<Placed> placed;
        std::vector<std::string> problems; // entries left, with the reason
        bool journalAway = false;          // stopped because the journal did not answer
    };
    // Places every entry in turn with its key: the sketch read, placed, its number written into
    // its file, the entry removed. An entry whose sketch cannot be read or saved stays with its
    // reason; a journal that does not answer stops the round.
    Outcome placeAll(Journal& journal, Catalog& catalog, const OrderNumberFile& numbers) const;

private:
    std::filesystem::path entryPath(const std::string& key) const;

    std::filesystem::path folder_;
};
