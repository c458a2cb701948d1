#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <string>

// The commands that replace, save or end the project, carried out by the main window. Whatever
// replaces the project asks first when it holds unsaved changes ("Сохранить изменения в
// заказе?"), so every panel and window that opens an order goes through openOrder().
class ProjectCommands {
public:
    virtual ~ProjectCommands() = default;

    // "Сохранить изменения в заказе?" when there are unsaved changes; true when the project may
    // be replaced (saved, or the changes given up).
    virtual bool maySetAside() = 0;
    // Asks about unsaved changes, then the file dialog, then opens the file chosen.
    virtual void openWithDialog() = 0;
    // Asks about unsaved changes, then opens the sketch file at path. False when the project
    // was kept (the question was cancelled, or the file could not be opened: the error shown).
    virtual bool openOrder(const QString& path) = 0;
    // Asks about unsaved changes, then opens a sketch held elsewhere (an order of the journal),
    // named by name in messages. The project opened has no file yet and counts as modified.
    virtual bool openOrderBytes(const QByteArray& bytes, const QString& name) = 0;
    // Asks about unsaved changes, then starts a new project with the next order number.
    virtual void newProject() = 0;
    // Saves into the project's file; through the file dialog when there is none yet or it was
    // opened read-only. True when saved.
    virtual bool save() = 0;
    // Saves through the file dialog, proposing proposedName (the file's own name when empty).
    virtual bool saveAs(const QString& proposedName = {}) = 0;
    // Saves into the file at path, already chosen (placing an order chooses it). True when saved.
    virtual bool saveTo(const QString& path) = 0;
    // The project was written to path by other means (an order placed in the journal): path
    // becomes the project's file, unmodified when the file holds the present state.
    virtual void adoptFile(const QString& path) = 0;
    // The key of the order's placing in the journal: made at its first try and kept with the
    // document (and its recovery copy) until placingDone(), so that a placing repeated after a
    // lost answer is not placed twice.
    virtual std::string placingKey() = 0;
    virtual void placingDone() = 0;
    // The files opened or saved last, newest first.
    virtual QStringList recentFiles() const = 0;
    // Opens a recent file; one that no longer exists is taken off the list with a message.
    virtual void openRecent(const QString& path) = 0;
};
