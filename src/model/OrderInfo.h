#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// The customer order carried by every project: number, client, dates and the assembly and
// delivery costs that the grand total adds. Texts are UTF-8.
struct OrderInfo {
    std::string orderNumber;  // as typed (digits); outputs show "%05d" of its integer value
    std::string clientName;   // "ФИО"
    std::string address;      // "Адрес"
    int64_t orderDate = 0;    // seconds since 1970-01-01 UTC ("Дата оформления")
    int64_t readyDate = 0;    // seconds since 1970-01-01 UTC ("Дата готовности")
    std::string phone;        // "Телефон"
    int32_t deliveryCost = 0; // whole roubles; <= 0 means no delivery
    int32_t assemblyCost = 0; // whole roubles; <= 0 means no assembly

    // Next free number from the number file, empty texts, both dates = now, costs 0.
    void newOrder(const std::filesystem::path& numberFile);
    // Moves the number file past this order's number when that number is at or above the stored
    // one; a lower number (an older order placed again) leaves the file alone. The file is
    // replaced atomically. Returns true when the file was written. When it had to be written and
    // could not, failure (when given) receives the message to show: the order's number is then
    // remembered for the rest of the run, so the next new order still gets a number of its own,
    // but the file will hand it out again after a restart. `orderNumber` is not changed.
    bool commitOrderNumber(const std::filesystem::path& numberFile,
                           std::string* failure = nullptr) const;

    // Integer value of `orderNumber` (see orderNumberValue()).
    int32_t orderNumberValue() const;
    // "%05d" of orderNumberValue(): "00007" for "7", "00000" for a number without digits.
    std::string orderNumberText() const;

    bool operator==(const OrderInfo&) const = default;
};

// The next free order number as "%05d": the leading decimal number of the first five bytes of the
// number file (leading blanks skipped, optional sign); "00001" when the file is missing or the
// number is not above 0. A number placed in this run that the file could not take counts too.
std::string nextOrderNumber(const std::filesystem::path& numberFile);

// C's atoi rules on UTF-8 text: leading blanks skipped, an optional sign, then decimal digits up to
// the first other character; 0 without digits. Saturates at the int32 limits instead of
// overflowing.
int32_t leadingInteger(std::string_view text);

// "%02d.%02d.%d" of day, month and four-digit year of t in local time; "00.00.0" when the time
// cannot be converted.
std::string orderDateText(int64_t t);
