#include "text/MoneyWords.h"

#include <unicode/locid.h>
#include <unicode/rbnf.h>
#include <unicode/unistr.h>

#include <cstdio>
#include <memory>
#include <mutex>
#include <stdexcept>

namespace text {
namespace {

// ICU's formatter is costly to build and not safe to share between threads without a lock.
std::string spelled(int64_t roubles) {
    static std::mutex guard;
    static std::unique_ptr<icu::RuleBasedNumberFormat> format;
    const std::lock_guard lock(guard);
    UErrorCode status = U_ZERO_ERROR;
    if (!format) {
        format = std::make_unique<icu::RuleBasedNumberFormat>(icu::URBNF_SPELLOUT,
                                                              icu::Locale("ru"), status);
        // "рубль" is masculine: "один рубль", "два рубля"; the thousands stay feminine by the
        // rules themselves ("две тысячи").
        if (U_SUCCESS(status))
            format->setDefaultRuleSet("%spellout-cardinal-masculine", status);
        if (U_FAILURE(status)) {
            format.reset();
            throw std::runtime_error("Нет правил ICU для записи чисел прописью");
        }
    }
    icu::UnicodeString words;
    format->format(roubles, words);
    // The first letter capital, as the amount begins the line.
    words.replace(0, 1, icu::UnicodeString(words, 0, 1).toUpper(icu::Locale("ru")));
    std::string out;
    words.toUTF8String(out);
    return out;
}

} // namespace

const char* countForm(uint64_t count, const char* one, const char* few, const char* many) {
    const uint64_t lastTwo = count % 100;
    const uint64_t last = count % 10;
    if (lastTwo >= 11 && lastTwo <= 14)
        return many;
    if (last == 1)
        return one;
    if (last >= 2 && last <= 4)
        return few;
    return many;
}

std::string moneyInWords(int64_t kopecks) {
    // The absolute value in unsigned arithmetic: the smallest int64 has no positive twin.
    const uint64_t all =
        kopecks < 0 ? 0 - static_cast<uint64_t>(kopecks) : static_cast<uint64_t>(kopecks);
    const uint64_t roubles = all / 100;
    const uint64_t rest = all % 100;
    char figures[3];
    std::snprintf(figures, sizeof figures, "%02u", static_cast<unsigned>(rest));
    return spelled(static_cast<int64_t>(roubles)) + " " +
           countForm(roubles, "рубль", "рубля", "рублей") + " " + figures + " " +
           countForm(rest, "копейка", "копейки", "копеек");
}

} // namespace text
