#include "journal/JournalDeadline.h"

#include <atomic>
#include <cstdlib>
#include <string>

namespace journaldeadline {
namespace {

constexpr std::chrono::milliseconds kDefaultLimit{20000};

std::chrono::milliseconds fromEnvironment() {
    const char* text = std::getenv("TAVROLAB_JOURNAL_DEADLINE_MS");
    if (text == nullptr)
        return kDefaultLimit;
    char* rest = nullptr;
    const long long ms = std::strtoll(text, &rest, 10);
    return ms > 0 && rest != text && *rest == '\0' ? std::chrono::milliseconds(ms) : kDefaultLimit;
}

std::atomic<long long>& limitMs() {
    static std::atomic<long long> ms{fromEnvironment().count()};
    return ms;
}

thread_local std::optional<Clock::time_point> actionEnd;

} // namespace

std::chrono::milliseconds limit() {
    return std::chrono::milliseconds(limitMs().load());
}

void setLimit(std::chrono::milliseconds limit) {
    limitMs().store(limit.count() > 0 ? limit.count() : kDefaultLimit.count());
}

Action::Action() : outer_(!actionEnd.has_value()) {
    if (outer_)
        actionEnd = Clock::now() + limit();
}

Action::~Action() {
    if (outer_)
        actionEnd.reset();
}

Clock::time_point end() {
    return actionEnd ? *actionEnd : Clock::now() + limit();
}

std::chrono::milliseconds left() {
    const auto rest = std::chrono::duration_cast<std::chrono::milliseconds>(end() - Clock::now());
    return rest.count() > 0 ? rest : std::chrono::milliseconds(0);
}

} // namespace journaldeadline
