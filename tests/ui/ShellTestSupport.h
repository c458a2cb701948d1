#pragma once

#include "calc/DSSystem.h"
#include "calc/SystemFactory.h"
#include "catalog/Catalog.h"
#include "model/Project.h"
#include "ui/TestApplication.h"
#include "ui/shared/Dialogs.h"
#include "ui/shared/Notify.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Support for the tests of the main window, the top panel, the popups and the order panels.
namespace shelltest {

// A catalog built from a fresh folder (built-in tables, no prices) with a config folder of its
// own, so that order numbers are handed out from a number file and a journal of the test's own,
// and a project on it.
struct World {
    QTemporaryDir folder;
    std::unique_ptr<Catalog> catalog;
    std::unique_ptr<Project> project;

    // withPrices: the shipped price files and materials are copied in first, so that the
    // project is priced.
    explicit World(bool withPrices = false) {
        ensureApp();
        QDir(folder.path()).mkpath(QStringLiteral("config"));
        // Orders placed in the main window go to a journal of the world's own.
        QFile conf(path(QStringLiteral("config/journal.conf")));
        conf.open(QIODevice::WriteOnly);
        conf.write("journal = sqlite:" + path(QStringLiteral("journal.sqlite")).toUtf8() + "\n");
        if (withPrices) {
            for (const char* sub : {"profiles", "materials"})
                copyTree(QStringLiteral(TAV_SOURCE_DIR "/data/") + QString::fromUtf8(sub),
                         path(QString::fromUtf8(sub)));
        }
        catalog = std::make_unique<Catalog>(folder.path().toStdString(), makeAllSystems);
        project = std::make_unique<Project>(*catalog);
    }

    static void copyTree(const QString& from, const QString& to) {
        QDir().mkpath(to);
        for (const QFileInfo& info :
             QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QString target = QDir(to).filePath(info.fileName());
            if (info.isDir())
                copyTree(info.filePath(), target);
            else
                QFile::copy(info.filePath(), target);
        }
    }

    QString path(const QString& name) const { return QDir(folder.path()).filePath(name); }
    QString numberFile() const { return path(QStringLiteral("config/number.txt")); }

    void writeNumberFile(const QByteArray& bytes) const {
        QFile f(numberFile());
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes);
    }
    QByteArray readNumberFile() const {
        QFile f(numberFile());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return f.readAll();
    }

    DSSystem* system(const char* name) const { return catalog->systemByName(name); }
};

// Records the notifications a panel sends and, when asked, forwards them to receivers the way
// the main window would.
struct RecordingHub : NotifyHub {
    std::vector<Notify> sent;
    std::function<void(Notify)> forward;

    void notify(Notify n) override {
        sent.push_back(n);
        if (forward)
            forward(n);
    }
    int count(Notify n) const {
        int c = 0;
        for (Notify s : sent)
            c += s == n ? 1 : 0;
        return c;
    }
};

// Stands in for the file dialogs and message boxes while a test runs: file dialogs answer from
// queues (an empty answer is a cancel), errors are recorded.
struct ScriptedDialogs {
    std::deque<QString> openAnswers;
    std::deque<QString> saveAnswers;
    QStringList errors;
    QStringList errorCaptions;
    QStringList proposedNames;
    QStringList filters;
    QStringList suffixes;
    // The buttons to press in questions, by caption; a question with none left gets Escape.
    std::deque<QString> askAnswers;
    QStringList questions;
    // The texts to type when asked for one (a reason); none left: cancelled.
    std::deque<QString> textAnswers;
    QStringList textLabels;

    ScriptedDialogs() {
        dialogs::Hooks& h = dialogs::hooks();
        h.openFile = [this](QWidget*, const QString& filter, const QString& suffix) {
            filters << filter;
            suffixes << suffix;
            return take(openAnswers);
        };
        h.saveFile = [this](QWidget*, const QString& proposed, const QString& filter,
                            const QString& suffix) {
            proposedNames << proposed;
            filters << filter;
            suffixes << suffix;
            return take(saveAnswers);
        };
        h.error = [this](QWidget*, const QString& caption, const QString& text) {
            errorCaptions << caption;
            errors << text;
        };
        h.confirm = [](QWidget*, const QString&, const QString&) { return true; };
        h.ask = [this](QWidget*, const QString&, const QString& text, const QStringList& buttons,
                       int escapeButton) {
            questions << text;
            const int chosen = static_cast<int>(buttons.indexOf(take(askAnswers)));
            return chosen >= 0 ? chosen : escapeButton;
        };
        h.askText = [this](QWidget*, const QString&,
                           const QString& label) -> std::optional<QString> {
            textLabels << label;
            if (textAnswers.empty())
                return std::nullopt;
            return take(textAnswers);
        };
    }
    ~ScriptedDialogs() { dialogs::resetHooks(); }

    static QString take(std::deque<QString>& queue) {
        if (queue.empty())
            return {};
        QString s = queue.front();
        queue.pop_front();
        return s;
    }
};

// Where screenshots go: <build>/screenshots.
inline QString screenshotPath(const QString& name) {
    QDir dir(QStringLiteral(TAV_BINARY_DIR));
    dir.mkpath(QStringLiteral("screenshots"));
    return dir.filePath(QStringLiteral("screenshots/") + name);
}

inline bool saveScreenshot(QWidget* w, const QString& name) {
    return w->grab().save(screenshotPath(name));
}

} // namespace shelltest
