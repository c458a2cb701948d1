#pragma once

#include "ui/ViewsTestSupport.h"

#include "text/Encoding.h"
#include "ui/printing/DocumentPrinter.h"

#include <QFile>

#include <gtest/gtest.h>

namespace printtest {

// A project with a client, its shop's logo and conditions in the config folder, printed to PDF
// files in the same temporary folder.
struct PrintWorld : viewstest::ProjectWorld {
    PrintWorld() {
        QDir(folder.path()).mkpath(QStringLiteral("config"));
        Project& p = *project;
        p.order.clientName = "Иванов Пётр Сергеевич";
        p.order.address = "г. Тверь, ул. Советская, д. 12, кв. 5";
        p.order.phone = "+7 910 123-45-67";
        p.order.assemblyCost = 1500;
        p.order.deliveryCost = 800;
        p.recalculate(true);
    }

    QString file(const QString& name) const { return QDir(folder.path()).filePath(name); }
    QString configPath(const QString& name) const { return file(QStringLiteral("config/") + name); }

    void writeLogo(const QImage& logo) const {
        logo.save(configPath(QStringLiteral("logo.jpg")), "JPEG", 95);
    }
    void removeLogo() const { QFile::remove(configPath(QStringLiteral("logo.jpg"))); }

    void writeInfo(const std::string& utf8) const {
        QFile out(configPath(QStringLiteral("info.txt")));
        if (!out.open(QIODevice::WriteOnly))
            return;
        const std::string bytes = text::utf8ToCp1251(utf8);
        out.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }

    // The shipped logo and conditions of the program's data folder.
    void useShippedConfig() const {
        writeLogo(QImage(QStringLiteral(TAV_SOURCE_DIR "/data/config/logo.jpg")));
        QFile::remove(configPath(QStringLiteral("info.txt")));
        QFile::copy(QStringLiteral(TAV_SOURCE_DIR "/data/config/info.txt"),
                    configPath(QStringLiteral("info.txt")));
    }

    // The documents as a PDF file; empty path when writing failed.
    QString pdf(const DocumentChoice& choice, const QString& name = QStringLiteral("out.pdf")) {
        const QString path = file(name);
        const QString error = DocumentPrinter(*project).writePdf(path.toStdString(), choice);
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        return error.isEmpty() ? path : QString();
    }

    // An order of ten doors on a 6 m opening, each door split in three with a material of its
    // own in every insert: 30 filling rows, so that the price table runs over a page.
    void buildTenDoorOrder() {
        Project& p = *project;
        p.setOpeningWidth(60000);
        p.setHeight(26000);
        p.setDoorCount(10);
        for (int d = 0; d < 10; ++d) {
            viewstest::clickSplit(p, d, 0.5, 0.3, false);
            viewstest::clickSplit(p, d, 0.5, 0.6, false);
            const std::vector<Insert*> inserts = viewstest::insertsOf(p, d);
            for (std::size_t i = 0; i < inserts.size(); ++i) {
                const QColor colour = QColor::fromHsv((d * 36 + static_cast<int>(i) * 12) % 360,
                                                      60 + 50 * static_cast<int>(i), 200);
                inserts[i]->material = material(QStringLiteral("m%1_%2").arg(d).arg(i), colour, 40,
                                                true, QSize(120, 240), true);
            }
        }
        p.doors->changed = true;
        p.recalculate(true);
    }
};

} // namespace printtest
