#include "text/Format.h"

#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <locale.h>

namespace text {
namespace {

// Formats with the "C" numeric rules on this thread, restoring the caller's locale afterwards.
class CLocaleScope {
public:
    CLocaleScope() {
        static locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        previous_ = uselocale(cLocale);
    }
    ~CLocaleScope() { uselocale(previous_); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t previous_;
};

bool isFloatConversion(char c) {
    return std::strchr("fFeEgGaA", c) != nullptr;
}

// snprintf of one conversion with its (already fetched) width/precision and value.
template <typename T>
std::string printOne(const std::string& conversion, int starCount, const int* stars, T value) {
    auto run = [&](char* buf, std::size_t size) {
        if (starCount == 0)
            return std::snprintf(buf, size, conversion.c_str(), value);
        if (starCount == 1)
            return std::snprintf(buf, size, conversion.c_str(), stars[0], value);
        return std::snprintf(buf, size, conversion.c_str(), stars[0], stars[1], value);
    };
    char small[256];
    int n = run(small, sizeof small);
    if (n < 0)
        return {};
    if (static_cast<std::size_t>(n) < sizeof small)
        return std::string(small, static_cast<std::size_t>(n));
    std::string big(static_cast<std::size_t>(n) + 1, '\0');
    run(big.data(), big.size());
    big.resize(static_cast<std::size_t>(n));
    return big;
}

// One conversion "%...c" formatted alone, with its arguments taken from args.
std::string formatOne(const std::string& conversion, char conv, const std::string& lengthMod,
                      int starCount, va_list& args) {
    int stars[2] = {0, 0};
    for (int i = 0; i < starCount && i < 2; ++i)
        stars[i] = va_arg(args, int);
    switch (conv) {
    case 'd':
    case 'i':
        if (lengthMod == "ll")
            return printOne(conversion, starCount, stars, va_arg(args, long long));
        if (lengthMod == "l")
            return printOne(conversion, starCount, stars, va_arg(args, long));
        if (lengthMod == "z")
            return printOne(conversion, starCount, stars, va_arg(args, std::size_t));
        return printOne(conversion, starCount, stars, va_arg(args, int));
    case 'u':
    case 'x':
    case 'X':
    case 'o':
        if (lengthMod == "ll")
            return printOne(conversion, starCount, stars, va_arg(args, unsigned long long));
        if (lengthMod == "l")
            return printOne(conversion, starCount, stars, va_arg(args, unsigned long));
        if (lengthMod == "z")
            return printOne(conversion, starCount, stars, va_arg(args, std::size_t));
        return printOne(conversion, starCount, stars, va_arg(args, unsigned int));
    case 'c':
        return printOne(conversion, starCount, stars, va_arg(args, int));
    case 's':
        return printOne(conversion, starCount, stars, va_arg(args, const char*));
    case 'p':
        return printOne(conversion, starCount, stars, va_arg(args, void*));
    default:
        break;
    }
    if (!isFloatConversion(conv))
        return {};
    std::string out = lengthMod == "L"
                          ? printOne(conversion, starCount, stars, va_arg(args, long double))
                          : printOne(conversion, starCount, stars, va_arg(args, double));
    for (char& c : out) {
        if (c == '.')
            c = ',';
    }
    return out;
}

} // namespace

std::string vformat(const char* fmt, va_list args) {
    CLocaleScope cLocale;
    std::string out;
    va_list ap;
    va_copy(ap, args);
    const char* p = fmt;
    while (*p) {
        if (*p != '%') {
            out.push_back(*p++);
            continue;
        }
        if (p[1] == '%') {
            out.push_back('%');
            p += 2;
            continue;
        }
        const char* start = p++;
        int starCount = 0;
        while (*p && std::strchr("-+ #0", *p))
            ++p;
        while (*p && (std::strchr("0123456789", *p) || *p == '*')) {
            starCount += *p == '*';
            ++p;
        }
        if (*p == '.') {
            ++p;
            while (*p && (std::strchr("0123456789", *p) || *p == '*')) {
                starCount += *p == '*';
                ++p;
            }
        }
        std::string lengthMod;
        while (*p && std::strchr("hlLqjzt", *p))
            lengthMod.push_back(*p++);
        if (!*p)
            break;
        char conv = *p++;
        std::string conversion(start, static_cast<std::size_t>(p - start));
        out += formatOne(conversion, conv, lengthMod, starCount, ap);
    }
    va_end(ap);
    return out;
}

std::string format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::string out = vformat(fmt, args);
    va_end(args);
    return out;
}

} // namespace text
