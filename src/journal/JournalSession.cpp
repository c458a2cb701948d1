#include "journal/JournalSession.h"

#include "journal/Journal.h"

#include <ctime>

JournalSession::JournalSession(const std::filesystem::path& dataFolder,
                               const std::string& commandLineAddress) {
    try {
        config_ = JournalConfig::resolve(dataFolder, commandLineAddress);
    } catch (const JournalError& e) {
        configError_ = e.what();
        config_.salesperson = JournalConfig::loginName();
    }
}

JournalSession::~JournalSession() = default;

const JournalAddress& JournalSession::address() const {
    if (!configError_.empty())
        throw JournalError(JournalError::BadAddress, configError_);
    if (!config_.address)
        throw JournalError(JournalError::Unreachable, "Журнал заказов отключен в настройках");
    return *config_.address;
}

Journal& JournalSession::journal() {
    address();
    if (!journal_)
        journal_ = std::make_unique<Journal>(*config_.address);
    return *journal_;
}

void JournalSession::reset() {
    journal_.reset();
}

void JournalSession::answered() {
    lastAnswer_ = static_cast<int64_t>(std::time(nullptr));
    commitUnknown_ = false;
    if (failing_) {
        failing_ = false;
        if (listener_)
            listener_();
    }
}

bool JournalSession::failedAttempt(const JournalError& e, Action action, bool hadConnection,
                                   int attempt) {
    // An answer of the journal (no such order, a conflict, a sketch not saved, a payment its
    // rules refuse) leaves the connection as good as it was.
    const bool answer = e.kind() == JournalError::NoSuchOrder ||
                        e.kind() == JournalError::NoSuchOffcut ||
                        e.kind() == JournalError::Conflict || e.kind() == JournalError::NotSaved ||
                        e.kind() == JournalError::Refused;
    if (answer) {
        answered();
        return false;
    }
    const bool lost = hadConnection && journal_ != nullptr && journal_->connectionLost() &&
                      e.kind() == JournalError::Unreachable;
    const bool unanswered = journal_ != nullptr && journal_->commitUnanswered();
    commitUnknown_ = unanswered;
    reset();
    const bool repeat = lost && attempt == 0 && (action != Action::Write || !unanswered);
    // A journal switched off in the settings is not one that went away.
    const bool down = config_.address.has_value() && (e.kind() == JournalError::Unreachable ||
                                                      e.kind() == JournalError::NotAnswering);
    if (!repeat && down != failing_) {
        failing_ = down;
        if (listener_)
            listener_();
    }
    if (!repeat && lost && action == Action::Write && unanswered)
        throw JournalError(JournalError::Unreachable,
                           "Связь с сервером журнала заказов прервалась во время записи: "
                           "неизвестно, записано ли изменение. Проверьте его в журнале.");
    return repeat;
}
