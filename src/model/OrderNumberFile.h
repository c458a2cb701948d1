#pragma once

#include <filesystem>
#include <string>

struct OrderInfo;

// Where the next free order number is kept. The program's own config/number.txt serves while it
// can be written. An installed program folder usually cannot be written by the shop's users; the
// number then moves to the user's data folder (XDG: $XDG_DATA_HOME/tavrolab, else
// ~/.local/share/tavrolab), and once a number file exists there it is read first and written from
// then on, so the program folder's stale number never comes back.
class OrderNumberFile {
public:
    // The number file of the program under baseFolder, with the user's folder taken from the
    // environment.
    explicit OrderNumberFile(const std::filesystem::path& baseFolder);
    // The same with an explicit user folder; an empty one means there is none.
    OrderNumberFile(const std::filesystem::path& baseFolder, std::filesystem::path userFolder);

    // $XDG_DATA_HOME/tavrolab when XDG_DATA_HOME is an absolute path, else
    // $HOME/.local/share/tavrolab; empty when neither variable gives one.
    static std::filesystem::path userDataFolder();

    // <base>/config/number.txt.
    const std::filesystem::path& programFile() const { return programFile_; }
    // <user folder>/number.txt, empty without a user folder.
    const std::filesystem::path& userFile() const { return userFile_; }

    // The file the next number is read from: the user's when it exists, else the program's.
    std::filesystem::path readPath() const;
    // The next free number as "%05d" (see nextOrderNumber).
    std::string next() const;

    // Moves the stored number past the order's number, as OrderInfo::commitOrderNumber does,
    // writing the program's file and falling back to the user's (its folder created) when the
    // program's cannot be written. Returns true when a file was written; when no file could take
    // the number, failure (when given) receives the message to show.
    bool commit(const OrderInfo& order, std::string* failure = nullptr) const;

private:
    std::filesystem::path programFile_;
    std::filesystem::path userFile_;
};
