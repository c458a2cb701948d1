// The program itself, started offscreen with folders of its own: changed through key events,
// killed with SIGKILL after its autosave, and started again; and two programs opening one file.
#include "ui/ShellTestSupport.h"

#include "model/SketchFile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

using namespace shelltest;

namespace {

struct Program : ::testing::Test {
    QTemporaryDir root;
    World world{true};
    QString sketch;

    void SetUp() override {
        sketch = root.filePath(QStringLiteral("заказ.tav"));
        Project p(*world.catalog);
        p.setOpeningWidth(24000);
        ASSERT_EQ(SketchFile::write(p, sketch.toStdString()), SketchFile::WriteOk);
    }
    QString folder(const QString& name) const { return root.filePath(name); }
    QString recoveryFolder() const { return folder(QStringLiteral("state/tavrolab/recovery")); }
    QStringList copies(const QString& sub = {}) const {
        return QDir(recoveryFolder() + sub).entryList({QStringLiteral("*.tavrec")}, QDir::Files);
    }

    // The program with the given answers and script; the log of its questions in log.txt.
    std::unique_ptr<QProcess> start(const QString& answers, const QString& script,
                                    const QStringList& args = {}) {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_STATE_HOME"), folder(QStringLiteral("state")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), folder(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), folder(QStringLiteral("data")));
        env.insert(QStringLiteral("TAVROLAB_ANSWERS"), answers);
        env.insert(QStringLiteral("TAVROLAB_SCRIPT"), script);
        env.insert(QStringLiteral("TAVROLAB_DIALOG_LOG"), folder(QStringLiteral("log.txt")));
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(QStringLiteral(TAV_BIN_DIR "/tavrolab"), args);
        EXPECT_TRUE(p->waitForStarted(10000));
        return p;
    }
    static bool waitFor(const std::function<bool()>& done, int ms = 20000) {
        QDeadlineTimer deadline(ms);
        while (!done()) {
            if (deadline.hasExpired())
                return false;
            QTest::qWait(50);
        }
        return true;
    }
    QString log() const {
        QFile f(folder(QStringLiteral("log.txt")));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    static QByteArray bytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // A program that changed the opening width, wrote its copy and was killed. Returns the bytes
    // it would have saved.
    QByteArray killedAfterAnEdit() {
        const QString expected = folder(QStringLiteral("expected.tav"));
        auto p = start({},
                       QStringLiteral("width=2600;wait=2500;dump=") + expected +
                           QStringLiteral(";wait=60000"),
                       {sketch});
        EXPECT_TRUE(waitFor([&] { return QFileInfo::exists(expected) && !copies().isEmpty(); }))
            << log().toStdString();
        p->kill(); // SIGKILL: no clean-up at all
        p->waitForFinished(5000);
        EXPECT_EQ(copies().size(), 1) << "the copy outlives the process";
        return bytes(expected);
    }
    void finishes(QProcess& p) {
        EXPECT_TRUE(p.waitForFinished(20000)) << log().toStdString();
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    }
};

TEST_F(Program, KilledAfterAnAutosaveItOffersTheOrderAndSavesItByteForByte) {
    const QByteArray expected = killedAfterAnEdit();
    ASSERT_FALSE(expected.isEmpty());
    ASSERT_NE(expected, bytes(sketch)) << "the edit was never saved";

    auto p = start(QStringLiteral("Восстановить"), QStringLiteral("title;save;title;quit"));
    finishes(*p);
    const QString text = log();
    EXPECT_TRUE(text.contains(QStringLiteral("ask: Восстановить несохранённый заказ от ")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("title: заказ.tav* — tavrolab")));
    EXPECT_TRUE(text.contains(QStringLiteral("title: заказ.tav — tavrolab")));
    EXPECT_FALSE(text.contains(QStringLiteral("Файл уже открыт"))) << "the dead lock is taken over";
    EXPECT_EQ(bytes(sketch), expected);
    EXPECT_TRUE(copies().isEmpty()) << "a clean save removes the copy";
}

TEST_F(Program, DecliningKeepsTheCopyUnderDeclined) {
    killedAfterAnEdit();
    const QByteArray original = bytes(sketch);
    auto p = start(QStringLiteral("Не восстанавливать"), QStringLiteral("title;quit"));
    finishes(*p);
    EXPECT_TRUE(log().contains(QStringLiteral("title: Новый заказ — tavrolab")));
    EXPECT_TRUE(copies().isEmpty());
    EXPECT_EQ(copies(QStringLiteral("/declined")).size(), 1);
    EXPECT_EQ(bytes(sketch), original);
}

TEST_F(Program, ASecondProgramOpeningTheSameFileIsToldAndOpensItReadOnly) {
    auto first = start({}, QStringLiteral("wait=60000"), {sketch});
    ASSERT_TRUE(
        waitFor([&] { return QFileInfo::exists(folder(QStringLiteral(".заказ.tav.lock"))); }));
    auto second =
        start(QStringLiteral("Открыть только для чтения"), QStringLiteral("title;quit"), {sketch});
    finishes(*second);
    const QString text = log();
    EXPECT_TRUE(text.contains(QStringLiteral("ask: Файл уже открыт в другом окне")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("title: заказ.tav (только чтение) — tavrolab")));
    first->kill();
    first->waitForFinished(5000);
}

} // namespace
