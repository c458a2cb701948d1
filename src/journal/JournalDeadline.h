#pragma once

#include <chrono>
#include <optional>

// The program's own limit on a journal action: however the server or the network misbehaves, an
// action ends by its deadline. An action is what one caller asks of the journal at once (list the
// orders, place one); its statements, its connecting and its one repeat after a lost connection
// share the deadline. The deadline belongs to the thread doing the action, so that a worker
// thread may run an action the same way the interface thread does.
namespace journaldeadline {

using Clock = std::chrono::steady_clock;

// How long an action may take: 20 s, or the milliseconds in the environment variable
// TAVROLAB_JOURNAL_DEADLINE_MS (read once), or what setLimit gave.
std::chrono::milliseconds limit();
void setLimit(std::chrono::milliseconds limit);

// This thread's action while it lives: starts the deadline now, unless an action of this thread
// is already running (an action inside an action keeps the outer one's deadline).
class Action {
public:
    Action();
    ~Action();
    Action(const Action&) = delete;
    Action& operator=(const Action&) = delete;

private:
    bool outer_ = false;
};

// The end of this thread's action, or a statement's own limit from now when there is none.
Clock::time_point end();
// What is left of it (never below zero).
std::chrono::milliseconds left();

} // namespace journaldeadline
