#pragma once

#include "calc/SystemFactory.h"
#include "catalog/Catalog.h"
#include "catalog/Material.h"
#include "model/Project.h"
#include "model/SketchLayout.h"
#include "text/Encoding.h"
#include "ui/TestApplication.h"
#include "ui/shared/Notify.h"

#include <QFile>

#include <QApplication>
#include <QColor>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

namespace viewstest {

// Records the notifications a panel sends.
struct RecordingHub : NotifyHub {
    std::vector<Notify> sent;
    void notify(Notify n) override { sent.push_back(n); }
    int count(Notify n) const {
        int c = 0;
        for (Notify s : sent)
            c += s == n ? 1 : 0;
        return c;
    }
};

// A project on a catalog built from an empty data folder (built-in tables, no prices), and
// materials whose pictures are painted into a temporary folder.
struct ProjectWorld {
    QTemporaryDir folder;
    std::unique_ptr<Catalog> catalog;
    std::unique_ptr<Project> project;
    std::vector<std::unique_ptr<Material>> materials;

    ProjectWorld() {
        ensureApp();
        writePrices();
        catalog = std::make_unique<Catalog>(folder.path().toStdString(), makeAllSystems);
        project = std::make_unique<Project>(*catalog);
    }

    // Prices of the default system's profiles and accessories, in roubles, so that the price page
    // shows real sums.
    void writePrices() const {
        QDir(folder.path()).mkpath(QStringLiteral("profiles"));
        QFile file(QDir(folder.path()).filePath(QStringLiteral("profiles/price.csv")));
        if (!file.open(QIODevice::WriteOnly))
            return;
        const std::string csv = "код;коллекция;цена\n"
                                "KL001;;1450\nKL07;;310,5\nKL08;;295\nKL09;;270\nKL02;;640\n"
                                "KL05;;705\nKL10/11B;;1180\nKL13;;38\nKL14;;95\nKL17;;22\n";
        const std::string bytes = text::utf8ToCp1251(csv);
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }

    std::string path(const QString& name) const {
        return QDir(folder.path()).filePath(name).toStdString();
    }

    // A material whose picture is a plain colour (or, textured, a colour with grain, as a real
    // photograph of a board has), or left missing when painted is false.
    const Material* material(const QString& key, QColor colour, int32_t thickness,
                             bool painted = true, QSize size = QSize(64, 96),
                             bool textured = false) {
        auto m = std::make_unique<Material>();
        m->groupName = "Зеркала";
        m->code = key.toStdString();
        m->name = "Зеркало " + key.toStdString();
        m->imagePath = path(key + QStringLiteral(".png"));
        m->thickness = thickness;
        m->price = 250000; // 2500 roubles per square metre
        if (painted) {
            QImage image(size, QImage::Format_RGB32);
            image.fill(colour);
            if (textured) {
                for (int y = 0; y < size.height(); ++y)
                    for (int x = 0; x < size.width(); ++x) {
                        const int grain = ((x * 7 + y * 3) % 23) - 11 + ((y / 9) % 2) * 6;
                        image.setPixelColor(x, y, colour.lighter(100 + grain));
                    }
            }
            image.save(QString::fromStdString(m->imagePath));
        }
        materials.push_back(std::move(m));
        return materials.back().get();
    }

    // A picture whose left half and right half have different colours.
    const Material* twoColourMaterial(const QString& key, QColor left, QColor right) {
        const Material* m = material(key, left, 40);
        QImage image(200, 100, QImage::Format_RGB32);
        image.fill(right);
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x)
                image.setPixelColor(x, y, left);
        image.save(QString::fromStdString(m->imagePath));
        return m;
    }
};

// Splits an insert of a door of the project the way a click on the sketch does, at a fraction of
// the door's screen rectangle, laid out for a 1000 × 700 window first.
inline bool clickSplit(Project& project, int door, double fx, double fy, bool vertical) {
    DoorSet& doors = *project.doors;
    layoutSketch(doors, screenFrame(doors, ScreenRect{0, 0, 1000, 700}, 96));
    doors.changed = false;
    const ScreenRect& r = doors.doors[door].rect;
    project.splitterVertical = vertical;
    const ScreenPoint p{r.left + static_cast<int32_t>(fx * r.width()),
                        r.top + static_cast<int32_t>(fy * r.height())};
    return project.addSplitterAtPoint(p);
}

// The inserts of a door of the project in id order.
inline std::vector<Insert*> insertsOf(Project& project, int door) {
    std::vector<Insert*> list;
    for (auto& [id, in] : project.doors->doors[door].inserts)
        list.push_back(&in);
    return list;
}

// A project of three doors with splitters in every door and materials in the inserts: the
// sample the screenshots show.
inline void buildThreeDoorProject(ProjectWorld& world) {
    Project& project = *world.project;
    const Material* mirror = world.material(QStringLiteral("mirror_silver"), QColor(196, 210, 222),
                                            40, true, QSize(120, 240), true);
    const Material* oak = world.material(QStringLiteral("oak_natural"), QColor(196, 150, 96), 100,
                                         true, QSize(120, 240), true);
    const Material* wenge = world.material(QStringLiteral("wenge"), QColor(92, 64, 48), 100, true,
                                           QSize(120, 240), true);
    const Material* glass = world.material(QStringLiteral("glass_frosted"), QColor(226, 236, 232),
                                           40, true, QSize(120, 240), true);

    clickSplit(project, 0, 0.5, 0.33, false);
    clickSplit(project, 0, 0.5, 0.70, false);
    clickSplit(project, 1, 0.5, 0.5, true);
    clickSplit(project, 1, 0.75, 0.4, false);
    clickSplit(project, 2, 0.5, 0.25, false);
    clickSplit(project, 2, 0.5, 0.5, false);
    clickSplit(project, 2, 0.5, 0.75, false);

    const std::vector<const Material*> door0{oak, mirror, oak};
    const std::vector<const Material*> door1{wenge, glass, wenge};
    const std::vector<const Material*> door2{mirror, oak, mirror, oak};
    const std::vector<const Material*>* lists[] = {&door0, &door1, &door2};
    for (int d = 0; d < 3; ++d) {
        const std::vector<Insert*> inserts = insertsOf(project, d);
        for (std::size_t i = 0; i < inserts.size() && i < lists[d]->size(); ++i)
            inserts[i]->material = (*lists[d])[i];
    }
    project.doors->changed = true;
    project.recalculate(true);
}

// Where screenshots go: build/screenshots.
inline QString screenshotPath(const QString& name) {
    QDir dir(QStringLiteral(TAV_BINARY_DIR));
    dir.mkpath(QStringLiteral("screenshots"));
    return dir.filePath(QStringLiteral("screenshots/") + name);
}

} // namespace viewstest
