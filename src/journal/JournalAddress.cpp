#include "journal/JournalAddress.h"

#include <cstdlib>
#include <string_view>

namespace {

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// %XX escapes of a URI part decoded; nullopt on a broken escape.
std::optional<std::string> decoded(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '%') {
            out += s[i];
            continue;
        }
        if (i + 2 >= s.size() || hexDigit(s[i + 1]) < 0 || hexDigit(s[i + 2]) < 0)
            return std::nullopt;
        out += static_cast<char>(hexDigit(s[i + 1]) * 16 + hexDigit(s[i + 2]));
        i += 2;
    }
    return out;
}

std::optional<int> portNumber(const std::string& s) {
    if (s.empty() || s.size() > 5 || s.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int port = std::atoi(s.c_str());
    if (port < 1 || port > 65535)
        return std::nullopt;
    return port;
}

bool fail(std::string* error, const std::string& reason) {
    if (error)
        *error = reason;
    return false;
}

bool parsePostgres(std::string_view rest, JournalAddress& a, std::string* error) {
    const std::size_t query = rest.find('?');
    std::string_view params = query == std::string_view::npos ? "" : rest.substr(query + 1);
    rest = rest.substr(0, query);
    const std::size_t slash = rest.find('/');
    std::string_view authority = rest.substr(0, slash);
    std::string_view database = slash == std::string_view::npos ? "" : rest.substr(slash + 1);

    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
        std::string_view credentials = authority.substr(0, at);
        authority = authority.substr(at + 1);
        const std::size_t colon = credentials.find(':');
        auto user = decoded(credentials.substr(0, colon));
        auto password = colon == std::string_view::npos ? std::string()
                                                        : decoded(credentials.substr(colon + 1));
        if (!user || !password)
            return fail(error, "неверная запись имени пользователя или пароля");
        a.user = *user;
        a.password = *password;
    }
    if (const std::size_t colon = authority.rfind(':'); colon != std::string_view::npos) {
        auto port = portNumber(std::string(authority.substr(colon + 1)));
        if (!port)
            return fail(error, "неверный номер порта");
        a.port = *port;
        authority = authority.substr(0, colon);
    }
    auto host = decoded(authority);
    auto name = decoded(database);
    if (!host || !name)
        return fail(error, "неверная запись сервера или базы данных");
    a.host = *host;
    a.database = *name;

    while (!params.empty()) {
        const std::size_t amp = params.find('&');
        std::string_view pair = params.substr(0, amp);
        params = amp == std::string_view::npos ? "" : params.substr(amp + 1);
        const std::size_t eq = pair.find('=');
        if (eq == std::string_view::npos)
            return fail(error, "параметр без значения: " + std::string(pair));
        auto key = decoded(pair.substr(0, eq));
        auto value = decoded(pair.substr(eq + 1));
        if (!key || !value || key->empty())
            return fail(error, "неверная запись параметра " + std::string(pair));
        if (*key == "host")
            a.host = *value;
        else if (*key == "port") {
            auto port = portNumber(*value);
            if (!port)
                return fail(error, "неверный номер порта");
            a.port = *port;
        } else if (*key == "user")
            a.user = *value;
        else if (*key == "password")
            a.password = *value;
        else if (*key == "dbname")
            a.database = *value;
        else if (key->find_first_of(" ;=") != std::string::npos ||
                 value->find_first_of(" ;'\\") != std::string::npos)
            return fail(error, "недопустимый параметр " + *key);
        else
            a.options.emplace_back(*key, *value);
    }
    if (a.database.empty())
        return fail(error, "не указана база данных");
    return true;
}

} // namespace

JournalAddress JournalAddress::sqlite(std::filesystem::path file) {
    JournalAddress a;
    a.file = std::move(file);
    return a;
}

std::optional<JournalAddress> JournalAddress::parse(const std::string& text, std::string* error) {
    JournalAddress a;
    if (startsWith(text, "sqlite:")) {
        std::string path = text.substr(7);
        if (startsWith(path, "//"))
            path.erase(0, 2);
        if (path.empty()) {
            fail(error, "не указан файл журнала");
            return std::nullopt;
        }
        a.file = path;
        return a;
    }
    for (std::string_view scheme : {"postgresql://", "postgres://"}) {
        if (startsWith(text, scheme)) {
            a.backend = Backend::Postgres;
            if (!parsePostgres(std::string_view(text).substr(scheme.size()), a, error))
                return std::nullopt;
            return a;
        }
    }
    fail(error, "адрес журнала должен начинаться с sqlite: или postgresql://");
    return std::nullopt;
}

std::string JournalAddress::shown() const {
    if (backend == Backend::Sqlite)
        return file.string();
    std::string s = "PostgreSQL, база " + database;
    if (!host.empty())
        s += " на " + host;
    if (port > 0)
        s += ":" + std::to_string(port);
    return s;
}
