#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Where the journal lives: an SQLite file ("sqlite:PATH") or a PostgreSQL database given as a
// connection URI ("postgresql://[user[:password]@][host][:port]/database?key=value&...", "host"
// may name the folder of the server's socket, as in postgresql:///tavrolab?host=/run/postgresql).
struct JournalAddress {
    enum class Backend { Sqlite, Postgres };

    Backend backend = Backend::Sqlite;
    std::filesystem::path file; // SQLite
    std::string host, user, password, database;
    int port = -1;
    // Further connection settings for the PostgreSQL client library (sslmode, connect_timeout…).
    std::vector<std::pair<std::string, std::string>> options;

    // nullopt when the text is neither form; error, when given, receives the reason.
    static std::optional<JournalAddress> parse(const std::string& text,
                                               std::string* error = nullptr);
    static JournalAddress sqlite(std::filesystem::path file);

    // The address as shown in messages: the file's path, or the database and its server without
    // the password.
    std::string shown() const;
};
