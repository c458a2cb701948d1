#include "journal/JournalSession.h"

#include "journal/Journal.h"
#include "journal/JournalError.h"

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
