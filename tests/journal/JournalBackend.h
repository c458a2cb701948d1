#pragma once

#include "journal/Journal.h"
#include "journal/JournalAddress.h"
#include "journal/JournalOrder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

// The journal's tests run once against an SQLite file and once against the run's own PostgreSQL
// server, each test case on a journal of its own.
enum class Backend { Sqlite, Postgres };

class JournalBackendTest : public testing::TestWithParam<Backend> {
protected:
    // A fresh, empty journal's address (the same one on every call within a test).
    const JournalAddress& address();

    // An order as the order card would give it.
    static JournalOrder sampleOrder(const std::string& customer, const std::string& phone,
                                    int64_t totalKopecks = 100000,
                                    const std::string& system = "Ловен");
    // Places the order with "sketch of <number>" as its sketch.
    static int64_t placeSample(Journal& journal, JournalOrder order, int64_t continueFrom = 1);

    TempFolder dir_;

private:
    std::optional<JournalAddress> address_;
};

std::string backendName(const testing::TestParamInfo<Backend>& info);

#define TAV_ON_BOTH_BACKENDS(suite)                                                                \
    INSTANTIATE_TEST_SUITE_P(Backends, suite, testing::Values(Backend::Sqlite, Backend::Postgres), \
                             backendName)
