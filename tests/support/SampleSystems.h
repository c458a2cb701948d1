#pragma once

#include "support/OutputTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace outtest {

// The sample project of buildSampleProject in each of the nine systems, for tests that check a
// document against the calculation's own lists.
inline const char* const kSampleSystems[] = {"Ловен", "Мелоза", "Тавро", "Стенвик", "Кверт-Н",
                                             "Дарсо", "Гартис", "Фольм", "Норсия"};

class EverySampleSystem : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override { ASSERT_TRUE(buildSampleProject(world, GetParam())); }
    World world;
};

// "1234,5" -> 1234.5
inline double millimetres(std::string text) {
    for (char& c : text)
        c = c == ',' ? '.' : c;
    return std::stod(text);
}

} // namespace outtest
