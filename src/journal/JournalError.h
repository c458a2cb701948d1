#pragma once

#include <stdexcept>
#include <string>

// Why the journal could not do what was asked. Every kind carries the Russian message to show.
class JournalError : public std::runtime_error {
public:
    enum Kind {
        Unreachable,  // the server cannot be reached, or the file cannot be opened or created
        NotAnswering, // the server took the question and gave no answer within the deadline
        Locked,       // another program holds the journal longer than the wait allows
        Damaged,      // the file is not a journal the program can read
        NewerSchema,  // written by a newer version of the program
        Failed,       // a query failed for another reason
        NoSuchOrder,  // no order with that number
        NoSuchOffcut, // no offcut with that id in the store
        Conflict,     // another seat changed what the change relied on; nothing was done
        BadAddress,   // the journal's address cannot be understood
        NotSaved,     // the order's sketch file could not be saved, so it was not placed
        Refused,      // the journal's rules do not allow the change (an overpayment); nothing done
        Cancelled,    // the person stopped the action while it waited on the journal
    };

    JournalError(Kind kind, const std::string& message)
        : std::runtime_error(message), kind_(kind) {}
    Kind kind() const { return kind_; }

private:
    Kind kind_;
};
