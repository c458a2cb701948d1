// The shared thumbnail cache: names, texts and sizes as file managers expect them, a changed
// picture made anew, and a cache that cannot be written.
#include "ui/TestApplication.h"

#include "ui/materials/CThumbListCtrl.h"
#include "ui/shared/ThumbnailCache.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ThumbnailCacheFixture : ::testing::Test {
    QTemporaryDir dir;
    QString pictures;
    QString root;

    void SetUp() override {
        ensureApp();
        pictures = dir.filePath(QStringLiteral("images"));
        root = dir.filePath(QStringLiteral("cache/thumbnails"));
        QDir().mkpath(pictures);
    }
    QString picture(const QString& name, QSize size, QColor colour) const {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = QDir(pictures).filePath(name);
        EXPECT_TRUE(image.save(path, "PNG"));
        return path;
    }
};

TEST_F(ThumbnailCacheFixture, AThumbnailIsNamedByTheUriAndCarriesItAndTheTime) {
    EXPECT_EQ(ThumbnailCache::uriOf(QStringLiteral("/tmp/x/дуб 1.jpg")),
              QByteArray("file:///tmp/x/%D0%B4%D1%83%D0%B1%201.jpg"));
    const QString path = picture(QStringLiteral("дуб 1.png"), QSize(1600, 1200), Qt::darkYellow);
    const ThumbnailCache cache(root);
    bool stored = false;
    const QImage made = cache.thumbnail(path, ThumbnailCache::Size::Normal, &stored);
    EXPECT_TRUE(stored);
    EXPECT_EQ(made.size(), QSize(128, 96)) << "the longer side is 128, proportions kept";
    const QString file = cache.pathFor(path, ThumbnailCache::Size::Normal);
    EXPECT_EQ(QFileInfo(file).dir().path(), root + QStringLiteral("/normal"));
    EXPECT_EQ(QFileInfo(file).fileName().size(), 32 + 4) << "MD5 in hex and .png";
    EXPECT_EQ(QFile::permissions(file) & (QFile::ReadOther | QFile::ReadGroup), 0);
    const QImage written(file);
    EXPECT_EQ(written.text(QStringLiteral("Thumb::URI")),
              QString::fromLatin1(ThumbnailCache::uriOf(path)));
    EXPECT_EQ(written.text(QStringLiteral("Thumb::MTime")),
              QString::number(QFileInfo(path).lastModified().toSecsSinceEpoch()));
    // A large thumbnail goes to large/, 256 on its longer side; a small picture is not enlarged.
    EXPECT_EQ(cache.thumbnail(path, ThumbnailCache::Size::Large).size(), QSize(256, 192));
    const QString small = picture(QStringLiteral("small.png"), QSize(62, 62), Qt::red);
    EXPECT_EQ(cache.thumbnail(small).size(), QSize(62, 62));

    // Seen before: read from the cache, nothing stored again.
    cache.thumbnail(path, ThumbnailCache::Size::Normal, &stored);
    EXPECT_FALSE(stored);
}

TEST_F(ThumbnailCacheFixture, APictureChangedSinceItsThumbnailIsDecodedAnew) {
    const QString path = picture(QStringLiteral("wood.png"), QSize(300, 200), QColor(150, 100, 50));
    const ThumbnailCache cache(root);
    EXPECT_EQ(CThumbListCtrl::makeThumbnail(path, cache).pixelColor(31, 31), QColor(150, 100, 50));
    // The shop replaces the picture with another of the same name.
    picture(QStringLiteral("wood.png"), QSize(300, 200), QColor(40, 40, 40));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime);
    file.close();
    bool stored = false;
    EXPECT_EQ(cache.thumbnail(path, ThumbnailCache::Size::Normal, &stored).pixelColor(10, 10),
              QColor(40, 40, 40));
    EXPECT_TRUE(stored);
    EXPECT_EQ(CThumbListCtrl::makeThumbnail(path, cache).pixelColor(31, 31), QColor(40, 40, 40));
}

TEST_F(ThumbnailCacheFixture, ACacheThatCannotBeWrittenStillGivesEveryThumbnail) {
    // A cache under a file: no folder can be made there, whoever runs the test.
    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const ThumbnailCache cache(dir.filePath(QStringLiteral("file/thumbnails")));
    QStringList paths;
    for (int k = 0; k < 5; ++k)
        paths << picture(QStringLiteral("p%1.png").arg(k), QSize(200, 100),
                         QColor::fromHsv(k * 60, 200, 200).toRgb());
    bool stored = true;
    EXPECT_FALSE(cache.thumbnail(paths[0], ThumbnailCache::Size::Normal, &stored).isNull());
    EXPECT_FALSE(stored);

    CThumbListCtrl grid;
    grid.setCache(cache);
    grid.show();
    grid.rebuild(pictures, paths);
    ASSERT_TRUE(grid.waitForThumbnails(10000));
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(grid.thumbnail(k).pixel(31, 31), QColor::fromHsv(k * 60, 200, 200).rgb()) << k;
}

} // namespace
