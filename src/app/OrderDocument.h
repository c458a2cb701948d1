#pragma once

#include "app/AutosaveWriter.h"
#include "app/RecentFiles.h"
#include "app/RecoveryStore.h"
#include "ui/shared/ProjectCommands.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <string>

class CtavrolabDlg;
class Project;
class QLockFile;
struct RecoveryCopy;

// The project as a document of the main window: the file it belongs to and the lock beside that
// file, whether it holds unsaved changes (the undo history's present state against the state the
// file holds), the question before the project is replaced or the window closed, the recent
// files, and the recovery copy written a moment after every change and offered again after a
// crash.
class OrderDocument : public QObject, public ProjectCommands {
    Q_OBJECT
public:
    static constexpr int kAutosaveDelayMs = 1500;

    OrderDocument(Project& project, CtavrolabDlg& window, RecoveryStore store = RecoveryStore(),
                  RecentFiles recent = RecentFiles());
    ~OrderDocument() override;

    void openWithDialog() override;
    bool openOrder(const QString& path) override;
    bool openOrderBytes(const QByteArray& bytes, const QString& name) override;
    void newProject() override;
    bool save() override;
    bool saveAs(const QString& proposedName = {}) override;
    bool saveTo(const QString& path) override;
    void adoptFile(const QString& path) override;
    std::string placingKey() override;
    void placingDone() override;
    QStringList recentFiles() const override;
    void openRecent(const QString& path) override;

    // "Сохранить изменения в заказе?" when the project holds unsaved changes. True when the
    // caller may replace or end the project (saved, or the changes given up).
    bool maySetAside() override;
    // The window is about to close: asks, then removes the recovery copy and the lock. False
    // keeps the window open.
    bool close();
    // After every change of the undo history's present state: the title and the autosave timer.
    void changed();
    // Offers the recovery copies of windows whose process is gone, one by one (at start).
    void offerRecovery();

    Project& project() const { return project_; }
    bool isModified() const;
    bool isReadOnly() const { return readOnly_; }
    const QString& filePath() const { return path_; }
    // "ИМЯ_ФАЙЛА* — tavrolab", "ИМЯ_ФАЙЛА — tavrolab" or "Новый заказ — tavrolab".
    QString title() const;

    void setAutosaveDelay(int ms) { autosaveDelay_ = ms; }
    const QString& recoveryPath() const { return recoveryPath_; }
    const RecoveryStore& recoveryStore() const { return store_; }
    AutosaveWriter& writer() { return *writer_; }
    // Writes the recovery copy now if the project changed since the last one and no change is in
    // progress; the timer calls it. Returns whether a write was handed to the writer.
    bool autosave();

private:
    enum class LockState { Locked, HeldElsewhere, Impossible };
    LockState takeLock(const QString& path, std::unique_ptr<QLockFile>& lock) const;
    bool load(const QString& path);
    bool writeTo(const QString& path);
    // path is the project's file from now on (read-only when opened so), listed among the recent
    // files; holdsPresent: the file holds what the window shows, so nothing is unsaved and the
    // recovery copy goes.
    void becomeFile(const QString& path, bool holdsPresent, bool readOnly = false);
    bool restore(const RecoveryCopy& copy, const QString& copyPath);
    // The project was replaced in place: every panel re-reads it and its history starts anew.
    void replaced();
    void settleRecord();
    void discardCopy();
    void updateTitle();
    void warnOnce(bool& shown, const QString& text);
    void addRecent(const QString& path);

    Project& project_;
    CtavrolabDlg& window_;
    RecoveryStore store_;
    RecentFiles recent_;
    QString recoveryPath_;
    QString path_;
    bool readOnly_ = false;
    std::unique_ptr<QLockFile> lock_;
    QTimer timer_;
    int autosaveDelay_ = kAutosaveDelayMs;
    std::string lastWritten_;
    bool copyOnDisk_ = false;
    std::string placingKey_; // of a placing that has not succeeded yet
    bool keyUnwritten_ = false;
    bool stateWarned_ = false;
    bool recentWarned_ = false;
    std::unique_ptr<AutosaveWriter> writer_; // last: its thread ends before the rest goes
};
