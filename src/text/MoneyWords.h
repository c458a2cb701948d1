#pragma once

#include <cstdint>
#include <string>

namespace text {

// The amount as a receipt writes it: roubles in words with "рубль" in its grammatical form, then
// the kopecks in two figures with "копейка" in its form, the first letter capital:
// 2242604 → "Двадцать две тысячи четыреста двадцать шесть рублей 04 копейки". The words come
// from ICU's Russian spell-out rules. A negative amount is written as its absolute value.
std::string moneyInWords(int64_t kopecks);

// The Russian form of a noun after a count: one ("рубль"), a few ("рубля") or many ("рублей").
const char* countForm(uint64_t count, const char* one, const char* few, const char* many);

} // namespace text
