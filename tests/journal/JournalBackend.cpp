#include "journal/JournalBackend.h"

#include "journal/PostgresServer.h"

namespace {

// The run's server stops with the run.
class ServerShutdown : public testing::Environment {
public:
    void TearDown() override { PostgresServer::shutDown(); }
};

[[maybe_unused]] testing::Environment* const shutdown =
    testing::AddGlobalTestEnvironment(new ServerShutdown);

} // namespace

const JournalAddress& JournalBackendTest::address() {
    if (!address_) {
        if (GetParam() == Backend::Sqlite)
            address_ = JournalAddress::sqlite(dir_ / "data" / "journal.sqlite");
        else
            address_ = PostgresServer::instance().freshDatabase();
    }
    return *address_;
}

JournalOrder JournalBackendTest::sampleOrder(const std::string& customer, const std::string& phone,
                                             int64_t totalKopecks, const std::string& system) {
    JournalOrder o;
    o.salesperson = "Петрова";
    o.customer = customer;
    o.phone = phone;
    o.address = "ул. Ленина, 1";
    o.system = system;
    o.doors = 3;
    o.openingWidth = 30000;
    o.openingHeight = 20000;
    o.sumKopecks = totalKopecks;
    o.totalKopecks = totalKopecks;
    o.filePath = "/tmp/order.tav";
    return o;
}

int64_t JournalBackendTest::placeSample(Journal& journal, JournalOrder order,
                                        int64_t continueFrom) {
    return journal.place(order, "[]", continueFrom, [](JournalOrder& placed) {
        return "sketch of " + std::to_string(placed.number);
    });
}

std::string backendName(const testing::TestParamInfo<Backend>& info) {
    return info.param == Backend::Sqlite ? "Sqlite" : "Postgres";
}
