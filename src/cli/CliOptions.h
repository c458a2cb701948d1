#pragma once

#include "output/WorkbookWriter.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The command line of tavrolab-cli: its usage text, exit codes and the options it was given.
namespace cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitInput = 2;
inline constexpr int kExitOutput = 3;
inline constexpr int kExitPrices = 4;
inline constexpr int kExitUsage = 64;

// The usage text printed with --help and after a wrong call.
extern const char* const kUsage;

struct UsageError {
    std::string message;
};

struct Options {
    bool help = false;
    bool version = false;
    std::optional<std::string> list;
    std::optional<std::string> data;
    std::optional<std::string> input;
    bool create = false;
    std::optional<std::string> system, handle, color;
    std::optional<int32_t> width, height, doors, plinth, chipboard;
    std::optional<std::string> csv, xml, json, save;
    std::optional<std::string> sheets;
    std::optional<std::string> plan;
    std::optional<int32_t> kerf, trim, minOffcut;
    std::map<std::string, bool> rotation;

    std::optional<std::string> pdf, documents;
    std::optional<std::string> pack, labelGrid;
    // The order card and the discount, for an opened file as for a new one.
    std::optional<std::string> discount;
    std::optional<int32_t> assembly, delivery;
    std::optional<std::string> orderNumber, customer, address, phone;
    // Placing the order in the journal (the configured one, or --journal's).
    bool place = false;
    bool again = false; // --again: place a sketch placed from this seat within a day once more
    std::optional<std::string> journal;

    bool anyOutput() const { return csv || xml || json || save || plan || pdf || pack; }
    bool anyNewSetting() const {
        return system || handle || color || width || height || doors || plinth || chipboard;
    }
};

// A whole decimal number of at most nine digits, optionally negative; nothing else may follow.
std::optional<int32_t> parseInteger(const std::string& s);
// The options of a call; a wrong call throws UsageError.
Options parseOptions(const std::vector<std::string>& args);
// The workbook sheets of a comma-separated list ("order,price").
WorkbookSheets parseSheets(const std::string& list);

} // namespace cli
