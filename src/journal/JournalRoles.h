#pragma once

#include "journal/OrderStatus.h"

#include <QStringList>

#include <string>
#include <string_view>

class JournalConnection;

// What the connected seat may do. On PostgreSQL the server itself keeps the rules, whatever
// program or console a seat connects with: a salesperson places orders, revises them before
// production, takes payments and moves states forward; a manager may also refund, cancel, revise
// an order in production and move a state back. The journal's owner, and any journal whose
// server has no such roles, may do everything, as may an SQLite journal (one seat).
struct JournalRights {
    bool manager = true;
    std::string user; // the database user (PostgreSQL), empty for SQLite

    // The status's place in the usual order (Принят 0 … Доставлен 3, Отменён 4).
    static int rank(std::string_view status) {
        for (size_t i = 0; i < orderstatus::kAll.size(); ++i)
            if (orderstatus::kAll[i] == status)
                return static_cast<int>(i);
        return -1;
    }
    // An order in production or later changes only with a stated reason.
    static bool revisionNeedsReason(std::string_view status) { return rank(status) >= 1; }

    bool mayRefund() const { return manager; }
    bool mayChangeStatus(std::string_view from, std::string_view to) const {
        return manager || (to != orderstatus::kCancelled && rank(to) >= rank(from));
    }
    bool mayRevise(std::string_view status) const {
        return status != orderstatus::kCancelled && (manager || rank(status) < 1);
    }
};

namespace journalroles {

inline constexpr const char* kSalesperson = "tavrolab_salesperson";
inline constexpr const char* kManager = "tavrolab_manager";
// The SQLSTATE of a change the server's rules refuse.
inline constexpr const char* kRefusedState = "TV001";

// PostgreSQL: the functions and triggers that keep the rules and write the history's "who".
QStringList serverRules();
// Creates the two roles (when missing) and gives them their rights on this journal; may be run
// again. Needs a user that may create roles.
void initRoles(JournalConnection& db);
// What the connection's user may do.
JournalRights rightsOf(JournalConnection& db);

} // namespace journalroles
