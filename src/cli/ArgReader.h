#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cli {

// Reads the values of a command line's options, refusing an option given twice or without its
// value with a UsageError in Russian.
class ArgReader {
public:
    explicit ArgReader(const std::vector<std::string>& args) : args_(args) {}

    // The value after the option at i; i moves onto it.
    std::string value(std::size_t& i) const;
    void text(std::size_t& i, std::optional<std::string>& slot) const;
    // A whole decimal number (see parseInteger).
    void number(std::size_t& i, std::optional<int32_t>& slot) const;

private:
    const std::vector<std::string>& args_;
};

// Refuses a kerf over 100 mm, a trim over 1000 mm or a minimum offcut over 10 000 mm (or any of
// them negative).
void checkCutSettings(const std::optional<int32_t>& kerf, const std::optional<int32_t>& trim,
                      const std::optional<int32_t>& minOffcut);

} // namespace cli
