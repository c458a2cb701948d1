// A seat placing orders, for the tests that need a second process: places COUNT orders into the
// journal at URL and prints each number on its own line. With "hold" it stops inside its first
// placing (after printing "inside N") until it is killed.
//
// journal_placer URL batches FIRST COUNT: starts COUNT batches, the k-th of order FIRST + k
// using the store's offcut k + 1, printing "ok K" or "taken K" for each.
//
// journal_placer URL seat NAME COUNT: a seat as the window places: through a session, each order
// with a key of its own ("NAME:i"), placed again with it after a failure until it is placed, as a
// salesperson clicks again while the server restarts. Prints each number, then "failures N".
#include "journal/Journal.h"
#include "journal/JournalAddress.h"
#include "journal/JournalError.h"
#include "journal/JournalSession.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

namespace {

int startBatches(const JournalAddress& address, int64_t first, int count) {
    try {
        Journal journal(address);
        for (int k = 0; k < count; ++k) {
            BatchStart batch;
            batch.orders = {first + k};
            batch.planJson = "{}";
            batch.usedOffcuts = {k + 1};
            JournalOffcut rest;
            rest.article = "KL001";
            rest.length = 3000;
            batch.kept = {rest};
            try {
                journal.batches().start(batch, "seat " + std::to_string(first));
                std::printf("ok %d\n", k);
            } catch (const JournalError& e) {
                if (e.kind() != JournalError::Conflict)
                    throw;
                std::printf("taken %d\n", k);
            }
            std::fflush(stdout);
        }
    } catch (const JournalError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 5;
    }
    return 0;
}

int seat(const std::string& url, const std::string& name, int count) {
    JournalSession session(std::filesystem::temp_directory_path() / ("seat-" + name), url);
    const std::string sketch(64 * 1024, 'x');
    int failures = 0;
    for (int i = 0; i < count; ++i) {
        JournalOrder order;
        order.customer = name + " " + std::to_string(i);
        order.system = "Ловен";
        const std::string key = name + ":" + std::to_string(i);
        for (;;) {
            try {
                const int64_t number =
                    session.run(JournalSession::Action::KeyedWrite, [&](Journal& journal) {
                        return journal.place(
                            order, "[]", 1, [&](JournalOrder&) { return sketch; }, key);
                    });
                std::printf("%lld\n", static_cast<long long>(number));
                std::fflush(stdout);
                break;
            } catch (const JournalError& e) {
                if (e.kind() != JournalError::Unreachable && e.kind() != JournalError::NotAnswering)
                    throw;
                ++failures;
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        }
    }
    std::printf("failures %d\n", failures);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: journal_placer URL COUNT [hold]\n");
        return 2;
    }
    const auto address = JournalAddress::parse(argv[1]);
    if (address && argc == 5 && std::string(argv[2]) == "batches")
        return startBatches(*address, std::atoll(argv[3]), std::atoi(argv[4]));
    if (address && argc == 5 && std::string(argv[2]) == "seat") {
        try {
            return seat(argv[1], argv[3], std::atoi(argv[4]));
        } catch (const JournalError& e) {
            std::fprintf(stderr, "%s\n", e.what());
            return 5;
        }
    }
    const int count = std::atoi(argv[2]);
    const bool hold = argc > 3 && std::string(argv[3]) == "hold";
    if (!address)
        return 2;
    try {
        Journal journal(*address);
        // A sketch of a real order's size, so that a placing takes a moment of its own.
        const std::string sketch(64 * 1024, 'x');
        for (int i = 0; i < count; ++i) {
            JournalOrder order;
            order.customer = "Клиент " + std::to_string(i);
            order.phone = std::to_string(1000000 + i);
            order.system = "Ловен";
            order.totalKopecks = 100 * (i + 1);
            const int64_t number = journal.place(order, "[]", 1, [&](JournalOrder& placed) {
                if (hold) {
                    std::printf("inside %lld\n", static_cast<long long>(placed.number));
                    std::fflush(stdout);
                    std::this_thread::sleep_for(std::chrono::minutes(5));
                }
                return sketch;
            });
            std::printf("%lld\n", static_cast<long long>(number));
            std::fflush(stdout);
        }
    } catch (const JournalError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 5;
    }
    return 0;
}
