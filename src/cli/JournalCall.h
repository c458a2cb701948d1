#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

// A journal command as the command line gave it: the words after "journal" and the options.
namespace journalcli {

struct ArgumentError {
    std::string message;
};

struct Command {
    std::optional<std::string> journal, data;
    std::vector<std::string> words; // after "journal"
    std::map<std::string, std::string> options;
    bool json = false;

    // The option's value, empty when it was not given.
    std::string option(const std::string& name) const {
        const auto it = options.find(name);
        return it == options.end() ? std::string() : it->second;
    }
};

// A number typed as digits alone (at most 15), or nullopt.
std::optional<int64_t> digitsNumber(const std::string& text);

// Refuses another count of words than `count`, naming the command's form.
void expectWords(const Command& c, std::size_t count, const std::string& form);
// Refuses an option the command does not take, and --json where it has no JSON form.
void allowOptions(const Command& c, std::initializer_list<const char*> allowed, bool json);

} // namespace journalcli
