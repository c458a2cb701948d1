// The shared thumbnail cache: names, texts and sizes as file managers expect them, a changed
// picture made anew, and a cache that cannot be written.
#include "ui/TestApplication.h"

#include "ui/materials/CThumbListCtrl.h"
#include "ui/shared/ThumbnailCache.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// CRC-32 of a PNG chunk's type and data.
quint32 crc32(const QByteArray& bytes) {
    quint32 c = 0xFFFFFFFFu;
    for (char byte : bytes) {
        c ^= static_cast<uchar>(byte);
        for (int k = 0; k < 8; ++k)
            c = (c & 1u) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    return c ^ 0xFFFFFFFFu;
}

QByteArray bigEndian(quint32 v) {
    QByteArray out(4, '\0');
    for (int k = 0; k < 4; ++k)
        out[k] = static_cast<char>(v >> (24 - 8 * k));
    return out;
}

QByteArray chunk(const QByteArray& type, const QByteArray& data) {
    return bigEndian(static_cast<quint32>(data.size())) + type + data +
           bigEndian(crc32(type + data));
}

// The ways other programs write a PNG text: plain, compressed, international (plain and
// compressed).
enum class TextWay { Plain, Compressed, International, InternationalCompressed };

QByteArray textChunk(TextWay way, const QByteArray& key, const QByteArray& value) {
    const QByteArray zero(1, '\0');
    const QByteArray deflated = qCompress(value).mid(4); // the zlib stream without Qt's length
    switch (way) {
    case TextWay::Plain:
        return chunk("tEXt", key + zero + value);
    case TextWay::Compressed:
        return chunk("zTXt", key + zero + zero + deflated);
    case TextWay::International:
        return chunk("iTXt", key + zero + zero + zero + zero + zero + value);
    case TextWay::InternationalCompressed:
        break;
    }
    return chunk("iTXt", key + zero + QByteArray(1, '\1') + zero + zero + zero + deflated);
}

// A PNG of one colour with the texts in the given way, after its header as writers put them.
QByteArray pngWithTexts(QSize size, QColor colour, TextWay way,
                        const std::vector<std::pair<QByteArray, QByteArray>>& texts) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    QByteArray chunks;
    for (const auto& [key, value] : texts)
        chunks += textChunk(way, key, value);
    png.insert(8 + 8 + 13 + 4, chunks); // the signature and IHDR come first
    return png;
}

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

TEST_F(ThumbnailCacheFixture, AThumbnailAnotherProgramWroteIsUsedWhateverTheWayOfItsTexts) {
    const QString path = picture(QStringLiteral("клён.png"), QSize(400, 300), Qt::blue);
    const ThumbnailCache cache(root);
    const QString file = cache.pathFor(path, ThumbnailCache::Size::Normal);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()));
    const QByteArray mtime = QByteArray::number(QFileInfo(path).lastModified().toSecsSinceEpoch());
    for (TextWay way : {TextWay::Plain, TextWay::Compressed, TextWay::International,
                        TextWay::InternationalCompressed}) {
        SCOPED_TRACE(static_cast<int>(way));
        // A file manager's thumbnail, green so that it tells from one decoded here (blue).
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(
            pngWithTexts(QSize(128, 96), Qt::green, way,
                         {{"Thumb::URI", ThumbnailCache::uriOf(path)}, {"Thumb::MTime", mtime}}));
        out.close();
        bool stored = true;
        const QImage got = cache.thumbnail(path, ThumbnailCache::Size::Normal, &stored);
        EXPECT_FALSE(stored) << "taken as stale and written again";
        EXPECT_EQ(got.pixelColor(5, 5), QColor(Qt::green));
        // The same file with another picture's address is stale.
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(pngWithTexts(QSize(128, 96), Qt::green, way,
                               {{"Thumb::URI", "file:///elsewhere.png"}, {"Thumb::MTime", mtime}}));
        out.close();
        EXPECT_EQ(cache.thumbnail(path, ThumbnailCache::Size::Normal, &stored).pixelColor(5, 5),
                  QColor(Qt::blue));
        EXPECT_TRUE(stored);
    }
}

TEST_F(ThumbnailCacheFixture, AGridRebuiltBeforeItIsShownDecodesNothingUntilShown) {
    QStringList paths;
    for (int k = 0; k < 6; ++k)
        paths << picture(QStringLiteral("h%1.png").arg(k), QSize(300, 200), Qt::darkGreen);
    const ThumbnailCache cache(root);
    CThumbListCtrl grid;
    grid.setCache(cache);
    grid.rebuild(pictures, paths); // as the panel's first group at start-up, before the window
    QTest::qWait(300);
    EXPECT_EQ(grid.loadedCount(), 0);
    EXPECT_TRUE(QDir(root + QStringLiteral("/normal")).entryList(QDir::Files).isEmpty())
        << "decoded before anyone could see it";
    grid.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return grid.loadedCount() == paths.size(); }, 10000));
    EXPECT_EQ(grid.thumbnail(0).pixelColor(5, 5), QColor(Qt::darkGreen));
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
