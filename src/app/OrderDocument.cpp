#include "app/OrderDocument.h"

#include "app/CtavrolabDlg.h"
#include "model/AtomicFile.h"
#include "model/Project.h"
#include "model/RecoveryCopy.h"
#include "model/SketchFile.h"
#include "model/UndoHistory.h"
#include "ui/shared/Dialogs.h"
#include "ui/shared/PictureCache.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QUuid>

#include <filesystem>

namespace {

const QString kQuestion = QStringLiteral("Сохранить изменения в заказе?");
const QString kHeldElsewhere = QStringLiteral("Файл уже открыт в другом окне");

QString lockPathOf(const QString& path) {
    const QFileInfo f(path);
    return f.dir().filePath(QStringLiteral(".") + f.fileName() + QStringLiteral(".lock"));
}

QString absolute(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

OrderDocument::OrderDocument(Project& project, CtavrolabDlg& window, RecoveryStore store,
                             RecentFiles recent)
    : project_(project), window_(window), store_(std::move(store)), recent_(std::move(recent)),
      recoveryPath_(store_.ownPath()) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { autosave(); });
    writer_ = std::make_unique<AutosaveWriter>([this](const std::string& reason) {
        // The writer's thread: the warning is shown by the window's thread.
        QMetaObject::invokeMethod(
            this,
            [this, reason] {
                warnOnce(stateWarned_,
                         QStringLiteral("Копия для восстановления не записывается (%1): %2")
                             .arg(store_.folder(), QString::fromStdString(reason)));
            },
            Qt::QueuedConnection);
    });
    updateTitle();
}

OrderDocument::~OrderDocument() = default;

bool OrderDocument::isModified() const {
    return window_.history()->isModified();
}

QString OrderDocument::title() const {
    QString name = path_.isEmpty() ? QStringLiteral("Новый заказ") : QFileInfo(path_).fileName();
    if (!path_.isEmpty() && isModified())
        name += QLatin1Char('*');
    if (readOnly_)
        name += QStringLiteral(" (только чтение)");
    return name + QStringLiteral(" — tavrolab");
}

void OrderDocument::updateTitle() {
    window_.setWindowTitle(title());
}

void OrderDocument::warnOnce(bool& shown, const QString& text) {
    if (shown)
        return;
    shown = true;
    window_.warn(text);
}

void OrderDocument::settleRecord() {
    // A change whose step is still queued counts as made.
    if (!window_.changeInProgress())
        window_.history()->record();
}

bool OrderDocument::maySetAside() {
    settleRecord();
    if (!isModified())
        return true;
    const int answer = dialogs::ask(
        &window_, kQuestion,
        {QStringLiteral("Сохранить"), QStringLiteral("Не сохранять"), QStringLiteral("Отмена")}, 2);
    if (answer == 0)
        return save();
    return answer == 1;
}

bool OrderDocument::close() {
    if (!maySetAside())
        return false;
    discardCopy();
    writer_->waitIdle();
    lock_.reset();
    return true;
}

OrderDocument::LockState OrderDocument::takeLock(const QString& path,
                                                 std::unique_ptr<QLockFile>& lock) const {
    lock = std::make_unique<QLockFile>(lockPathOf(path));
    // Only a lock whose process is gone is stale, however old it is.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        return LockState::Locked;
    const QLockFile::LockError error = lock->error();
    lock.reset();
    return error == QLockFile::LockFailedError ? LockState::HeldElsewhere : LockState::Impossible;
}

void OrderDocument::openWithDialog() {
    if (!maySetAside())
        return;
    const QString path = dialogs::openFile(&window_, QString::fromUtf8(dialogs::kSketchFilter),
                                           QStringLiteral("tav"));
    if (!path.isEmpty())
        load(path);
}

bool OrderDocument::openOrder(const QString& path) {
    return maySetAside() && load(path);
}

bool OrderDocument::openOrderBytes(const QByteArray& bytes, const QString& name) {
    if (!maySetAside())
        return false;
    const int result =
        SketchFile::fromBytes(project_, std::string_view(bytes.data(), bytes.size()));
    if (result != SketchFile::ReadOk) {
        dialogs::showError(&window_, QString::fromStdString(
                                         SketchFile::openErrorMessage(result, name.toStdString())));
        return false;
    }
    replaced();
    // Not in any file yet: saving asks for a name, and closing asks first.
    window_.history()->forgetSaved();
    path_.clear();
    readOnly_ = false;
    lock_.reset();
    discardCopy();
    updateTitle();
    return true;
}

void OrderDocument::openRecent(const QString& path) {
    if (!QFileInfo::exists(path)) {
        recent_.remove(path);
        dialogs::showError(&window_, QStringLiteral("Файл не найден: %1\nОн убран из списка "
                                                    "недавних файлов.")
                                         .arg(path));
        return;
    }
    openOrder(path);
}

bool OrderDocument::load(const QString& requested) {
    const QString path = absolute(requested);
    std::unique_ptr<QLockFile> lock;
    bool readOnly = false;
    bool unprotected = false;
    if (path == path_ && lock_) {
        lock = std::move(lock_); // this window's own file again
    } else {
        switch (takeLock(path, lock)) {
        case LockState::Locked:
            break;
        case LockState::HeldElsewhere:
            if (dialogs::ask(
                    &window_, kHeldElsewhere + QStringLiteral(":\n") + path,
                    {QStringLiteral("Открыть только для чтения"), QStringLiteral("Отмена")},
                    1) != 0)
                return false;
            readOnly = true;
            break;
        case LockState::Impossible:
            unprotected = QFileInfo::exists(path);
            break;
        }
    }
    const int result = SketchFile::read(project_, std::filesystem::path(path.toStdString()));
    if (result != SketchFile::ReadOk) {
        if (lock && path == path_)
            lock_ = std::move(lock);
        dialogs::showError(&window_, QString::fromStdString(
                                         SketchFile::openErrorMessage(result, path.toStdString())));
        return false;
    }
    replaced();
    lock_ = std::move(lock);
    becomeFile(path, true, readOnly);
    if (unprotected) {
        window_.warn(QStringLiteral("Рядом с файлом нельзя создать блокировку: он может быть "
                                    "открыт и в другом окне"));
    }
    return true;
}

void OrderDocument::replaced() {
    // Another order: a placing of the previous one no longer waits for its answer.
    placingKey_.clear();
    // The pictures of the project just read replace those of the previous one.
    PictureCache::shared().clear();
    window_.notify(Notify::CatalogSelection);
    window_.notify(Notify::ProjectChanged);
    // Its history starts here, with the present state as the saved one.
    window_.notify(Notify::OrderChanged);
}

bool OrderDocument::save() {
    if (path_.isEmpty() || readOnly_)
        return saveAs();
    return writeTo(path_);
}

bool OrderDocument::saveAs(const QString& proposedName) {
    QString proposed = proposedName;
    if (proposed.isEmpty())
        proposed = path_.isEmpty() ? QStringLiteral("эскиз") : QFileInfo(path_).completeBaseName();
    const QString path = dialogs::saveFile(
        &window_, proposed, QString::fromUtf8(dialogs::kSketchFilter), QStringLiteral("tav"));
    return !path.isEmpty() && writeTo(absolute(path));
}

bool OrderDocument::saveTo(const QString& path) {
    return writeTo(absolute(path));
}

void OrderDocument::adoptFile(const QString& written) {
    const QString path = absolute(written);
    settleRecord();
    if (path != path_ || readOnly_ || !lock_) {
        std::unique_ptr<QLockFile> lock;
        takeLock(path, lock);
        lock_ = std::move(lock);
    }
    // Clean only when the file holds exactly what the window shows.
    const std::optional<std::string> bytes =
        fileio::readWholeFile(std::filesystem::path(path.toStdString()));
    becomeFile(path, bytes && *bytes == window_.history()->presentState());
}

void OrderDocument::becomeFile(const QString& path, bool holdsPresent, bool readOnly) {
    path_ = path;
    readOnly_ = readOnly;
    if (holdsPresent) {
        window_.history()->markSaved();
        discardCopy();
    }
    addRecent(path);
    updateTitle();
}

bool OrderDocument::writeTo(const QString& path) {
    settleRecord();
    const bool sameFile = path == path_ && !readOnly_;
    std::unique_ptr<QLockFile> lock;
    if (!sameFile && takeLock(path, lock) == LockState::HeldElsewhere) {
        dialogs::showError(&window_, kHeldElsewhere + QStringLiteral(":\n") + path +
                                         QStringLiteral("\nСохраните заказ под другим именем."));
        return false;
    }
    std::string reason;
    if (SketchFile::write(project_, std::filesystem::path(path.toStdString()), &reason) !=
        SketchFile::WriteOk) {
        dialogs::showError(&window_, QString::fromStdString(
                                         SketchFile::saveErrorMessage(path.toStdString(), reason)));
        return false;
    }
    if (!sameFile)
        lock_ = std::move(lock);
    becomeFile(path, true);
    return true;
}

void OrderDocument::newProject() {
    if (!maySetAside())
        return;
    // A project made afresh, with its defaults and the next order number, read in as a file.
    const Project fresh(project_.catalog());
    const std::optional<std::string> bytes = SketchFile::toBytes(fresh);
    if (!bytes || SketchFile::fromBytes(project_, *bytes) != SketchFile::ReadOk)
        return;
    replaced();
    path_.clear();
    readOnly_ = false;
    lock_.reset();
    discardCopy();
    updateTitle();
}

QStringList OrderDocument::recentFiles() const {
    return recent_.files();
}

void OrderDocument::addRecent(const QString& path) {
    if (!recent_.add(path))
        warnOnce(recentWarned_, QStringLiteral("Список недавних файлов не записывается: %1")
                                    .arg(RecentFiles::defaultFile()));
}

void OrderDocument::changed() {
    updateTitle();
    if (!isModified()) {
        discardCopy();
        return;
    }
    if (window_.history()->presentState() != lastWritten_)
        timer_.start(autosaveDelay_);
}

bool OrderDocument::autosave() {
    if (window_.changeInProgress()) {
        // A drag or a popup holds a change: the copy waits for its end.
        timer_.start(std::min(autosaveDelay_, 250));
        return false;
    }
    const std::string& state = window_.history()->presentState();
    if ((!isModified() && placingKey_.empty()) || (state == lastWritten_ && !keyUnwritten_))
        return false;
    RecoveryCopy copy;
    copy.originalPath = path_.toStdString();
    copy.writtenAt = QDateTime::currentSecsSinceEpoch();
    copy.placingKey = placingKey_;
    copy.sketch = state;
    keyUnwritten_ = false;
    writer_->write(recoveryPath_.toStdString(), copy.encode());
    lastWritten_ = state;
    copyOnDisk_ = true;
    return true;
}

std::string OrderDocument::placingKey() {
    if (placingKey_.empty()) {
        placingKey_ = QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
        // On disk before the journal is asked: a crash after a lost answer keeps the key.
        keyUnwritten_ = true;
        autosave();
        writer_->waitIdle();
    }
    return placingKey_;
}

void OrderDocument::placingDone() {
    placingKey_.clear();
    keyUnwritten_ = false;
    if (!isModified())
        discardCopy();
}

void OrderDocument::discardCopy() {
    if (!placingKey_.empty())
        return; // the copy keeps the key of a placing that waits for its answer
    timer_.stop();
    lastWritten_.clear();
    if (copyOnDisk_)
        writer_->remove(recoveryPath_.toStdString());
    copyOnDisk_ = false;
}

void OrderDocument::offerRecovery() {
    store_.expireDeclined();
    for (const QString& path : store_.orphans()) {
        const std::optional<std::string> bytes =
            fileio::readWholeFile(std::filesystem::path(path.toStdString()));
        const RecoveryCopy::Decoded d =
            bytes ? RecoveryCopy::decode(*bytes)
                  : RecoveryCopy::Decoded{RecoveryCopy::Status::Damaged, "файл не читается", {}};
        if (d.status == RecoveryCopy::Status::Newer) {
            store_.keepNewer(path);
            dialogs::showError(&window_,
                               QStringLiteral("Несохранённый заказ не может быть восстановлен: "
                                              "%1. Копия оставлена в папке %2/newer.")
                                   .arg(QString::fromStdString(d.reason), store_.folder()));
            continue;
        }
        if (d.status == RecoveryCopy::Status::Damaged) {
            store_.moveAside(path);
            dialogs::showError(&window_,
                               QStringLiteral("Копия несохранённого заказа повреждена: %1. Она "
                                              "перенесена в папку %2/damaged.")
                                   .arg(QString::fromStdString(d.reason), store_.folder()));
            continue;
        }
        const QString when = QDateTime::fromSecsSinceEpoch(d.copy.writtenAt)
                                 .toLocalTime()
                                 .toString(QStringLiteral("dd.MM.yyyy HH:mm"));
        const QString file = QString::fromStdString(d.copy.originalPath);
        const QString text =
            QStringLiteral("Восстановить несохранённый заказ от %1?\n%2")
                .arg(when, file.isEmpty() ? QStringLiteral("Заказ не был сохранён в файл.")
                                          : QStringLiteral("Файл: ") + file);
        if (dialogs::ask(&window_, text,
                         {QStringLiteral("Восстановить"), QStringLiteral("Не восстанавливать")},
                         1) != 0) {
            store_.decline(path);
            continue;
        }
        // One project per window: further copies wait for the next start.
        if (restore(d.copy, path))
            return;
    }
}

bool OrderDocument::restore(const RecoveryCopy& copy, const QString& copyPath) {
    if (SketchFile::fromBytes(project_, copy.sketch) != SketchFile::ReadOk) {
        store_.moveAside(copyPath);
        dialogs::showError(&window_, QStringLiteral("Копия несохранённого заказа повреждена: "
                                                    "эскиз в ней не читается. Она перенесена в "
                                                    "папку %1/damaged.")
                                         .arg(store_.folder()));
        return false;
    }
    replaced();
    placingKey_ = copy.placingKey;
    window_.history()->forgetSaved();
    path_ = QString::fromStdString(copy.originalPath);
    readOnly_ = false;
    lock_.reset();
    if (!path_.isEmpty()) {
        std::unique_ptr<QLockFile> lock;
        readOnly_ = takeLock(path_, lock) == LockState::HeldElsewhere;
        lock_ = std::move(lock);
    }
    // The copy becomes this window's own: it stays on disk until the project is saved.
    writer_->waitIdle();
    QDir().mkpath(store_.folder());
    QFile::remove(recoveryPath_);
    if (QFile::rename(copyPath, recoveryPath_)) {
        copyOnDisk_ = true;
        lastWritten_ = copy.sketch;
    }
    changed();
    return true;
}
