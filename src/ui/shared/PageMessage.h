#pragma once

#include "journal/JournalError.h"
#include "ui/shared/JournalRunner.h"

#include <QLabel>

#include <functional>

class Journal;

// A page's message line under its work: hidden while there is nothing to say, red for
// a failure. The page's journal actions go through it, so that a failure is said there (the main
// window's strip shows the journal's state).
class PageMessage : public QLabel {
public:
    explicit PageMessage(const QString& accessibleName, QWidget* parent = nullptr)
        : QLabel(parent) {
        setAccessibleName(accessibleName);
        setWordWrap(true);
        hide();
    }

    void say(const QString& text, bool failure) {
        setStyleSheet(failure ? QStringLiteral("color: #b00000") : QString());
        setText(text);
        setVisible(!text.isEmpty());
    }

    // Runs work as a journal action over the page; false, with the failure said, when it failed.
    bool run(JournalRunner& journal, QWidget* over, JournalSession::Action action,
             const std::function<void(Journal&)>& work) {
        try {
            journal.run(over, action, [&](Journal& j) { work(j); });
            return true;
        } catch (const JournalError& e) {
            say(QString::fromStdString(e.what()), true);
            return false;
        }
    }
};
