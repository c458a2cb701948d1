// Edit to window: how long after each kind of edit the whole main window (sketch, totals,
// information strip, the visible result page) is up to date, on ten doors of 30 splitters each
// with 100 pictures. Each edit is made as the panels make it, then the window's events are
// processed until nothing is pending (the undo step is recorded, every panel repainted).
// Then the autosave's part on the interface thread (the copy handed to the writer thread) after
// an edit of the same project.
// Run: build/bench/bench_edits [repeats]   (offscreen unless a platform is set)
#include "ui/SketchDriver.h"
#include "ui/ViewsTestSupport.h"

#include "app/CtavrolabDlg.h"
#include "app/OrderDocument.h"
#include "model/UndoHistory.h"
#include "ui/sketch/DraftDlg.h"
#include "ui/sketch/SizeDlg.h"
#include "ui/toppanel/TopPanelDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace viewstest;

namespace {

// Ten doors of 800 mm, each divided by 30 splitters (horizontal rows, some cut by vertical ones),
// every insert with one of 100 pictures.
void buildProject(ProjectWorld& world) {
    Project& project = *world.project;
    project.setOpeningWidth(80000);
    project.setDoorCount(10);
    std::vector<const Material*> pictures;
    for (int i = 0; i < 100; ++i)
        pictures.push_back(world.material(QStringLiteral("photo%1").arg(i),
                                          QColor::fromHsv(i * 7 % 360, 90, 200), 40));
    for (int d = 0; d < 10; ++d) {
        for (int k = 1; k <= 20; ++k)
            clickSplit(project, d, 0.5, k / 21.0, false);
        for (int k = 0; k < 10; ++k)
            clickSplit(project, d, 0.3 + (k % 2) * 0.4, (2 * k + 1.5) / 21.0, true);
    }
    int n = 0;
    for (int d = 0; d < 10; ++d)
        for (auto& [id, in] : project.doors->doors[d].inserts)
            in.material = pictures[static_cast<std::size_t>(n++ % 100)];
    project.doors->changed = true;
    project.recalculate(true);
}

void settle() {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The recovery copies of the autosave timing go to a folder of the run's own.
    QTemporaryDir state;
    qputenv("XDG_STATE_HOME", state.path().toUtf8());
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    ProjectWorld world;
    buildProject(world);
    Project& project = *world.project;
    CtavrolabDlg window(project);
    window.resize(1920, 1080);
    window.show();
    settle();
    auto* sketch = static_cast<DraftDlg*>(window.sketch());
    sketchtest::SketchDriver mouse{sketch, &project};
    mouse.draw();
    int splitters = 0;
    for (int d = 0; d < 10; ++d)
        splitters += static_cast<int>(mouse.door(d).splitters.size());
    std::printf("project: 10 doors, %d splitters, window 1920x1080\n", splitters);

    auto time = [&](const char* name, const std::function<void()>& edit,
                    const std::function<void()>& after = {}) {
        std::vector<double> ms;
        for (int r = 0; r < repeats; ++r) {
            QElapsedTimer t;
            t.start();
            edit();
            settle();
            ms.push_back(t.nsecsElapsed() / 1e6);
            if (after)
                after();
            settle();
        }
        std::printf("%-34s median %6.2f ms, max %6.2f ms (%d runs)\n", name, median(ms),
                    *std::max_element(ms.begin(), ms.end()), repeats);
    };

    time(
        "split with its size popup (OK)",
        [&] {
            // A click in splitter mode, as the mouse gives it (no extra repaint by the driver).
            project.splitterMode = true;
            project.splitterVertical = false;
            const ScreenRect& r = mouse.door(3).rect;
            const QPoint p(r.left + r.width() / 2, r.top + r.height() / 50);
            mouse.hover(p);
            QTest::mouseClick(sketch, Qt::LeftButton, {}, p);
            project.splitterMode = false;
            if (SizeDlg* popup = sketch->sizePopup(); popup && popup->isOpen())
                popup->confirm();
        },
        [&] { window.undo(); });
    time(
        "drag release of a splitter",
        [&] {
            const Splitter& s = std::next(mouse.door(5).splitters.begin(), 3)->second;
            const QPoint from = sketchtest::centre(s.rect);
            mouse.hover(from);
            QTest::mousePress(sketch, Qt::LeftButton, {}, from);
            QTest::mouseMove(sketch, from + QPoint(0, 3));
            QTest::mouseRelease(sketch, Qt::LeftButton, {}, from + QPoint(0, 3));
            if (SizeDlg* popup = sketch->sizePopup(); popup && popup->isOpen())
                popup->cancel();
        },
        [&] { window.undo(); });
    time(
        "material placed",
        [&] {
            Door& d = mouse.door(6);
            d.materialTarget = &d.inserts.begin()->second;
            project.assignMaterial(world.materials.front().get());
            window.notify(Notify::ProjectChanged);
            window.notify(Notify::TotalsChanged);
        },
        [&] { window.undo(); });
    time(
        "undo", [&] { window.undo(); }, [&] { window.redo(); });
    time(
        "redo", [&] { window.redo(); }, [&] { window.undo(); });
    QComboBox* count = window.topPanel()->doorCountList();
    time("door count change", [&] {
        const int to = count->currentIndex() == 9 ? 8 : 9;
        count->setCurrentIndex(to); // as choosing it in the list does
    });

    // The autosave on the interface thread: the state compared with the copy last written, the
    // copy encoded and handed to the writer. The edit and the writing itself are not timed.
    std::vector<double> autosave;
    std::size_t bytes = 0;
    for (int r = 0; r < repeats; ++r) {
        Door& d = mouse.door(r % 10);
        d.materialTarget = &d.inserts.begin()->second;
        project.assignMaterial(world.materials[static_cast<std::size_t>(r + 1)].get());
        window.notify(Notify::ProjectChanged);
        settle();
        QElapsedTimer t;
        t.start();
        const bool written = window.document().autosave();
        autosave.push_back(t.nsecsElapsed() / 1e6);
        if (!written) {
            std::fprintf(stderr, "no recovery copy was written after the edit\n");
            return 1;
        }
        bytes = window.history()->presentState().size();
        window.document().writer().waitIdle();
    }
    std::printf("%-34s median %6.2f ms, max %6.2f ms (%d runs, %zu bytes)\n",
                "autosave on the interface thread", median(autosave),
                *std::max_element(autosave.begin(), autosave.end()), repeats, bytes);
    return 0;
}
