#pragma once

#include <cstdint>
#include <string>

class JournalRunner;
class QWidget;

// After a payment is taken: offers its receipt, printed through the print dialog (the PDF when no
// printer is installed) or saved as PDF, with the logo of the data folder.
namespace receiptcommands {

void offer(JournalRunner& session, int64_t number, int64_t paymentId, const std::string& dataFolder,
           QWidget* parent);

} // namespace receiptcommands
