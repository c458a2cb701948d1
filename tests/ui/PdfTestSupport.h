#pragma once

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

// Reading back the PDF files the program writes, with poppler's tools (pdfinfo, pdftotext,
// pdftoppm, pdffonts), as a person's PDF viewer would read them.
namespace pdftest {

// Standard output of a poppler tool; an empty string and a test failure when it cannot run.
inline QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(10000)) {
        ADD_FAILURE() << program.toStdString() << " did not start: install poppler-utils";
        return {};
    }
    p.waitForFinished(60000);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString()
                      << " failed: " << QString::fromUtf8(p.readAllStandardError()).toStdString();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline QString info(const QString& pdf) {
    return run(QStringLiteral("pdfinfo"), {pdf});
}

inline int pageCount(const QString& pdf) {
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info(pdf));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The text of one page (1-based) in reading order.
inline QString pageText(const QString& pdf, int page) {
    return run(QStringLiteral("pdftotext"),
               {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                QString::number(page), QStringLiteral("-layout"), pdf, QStringLiteral("-")});
}

// The text of every page of the file, in reading order with the layout kept.
inline QStringList pages(const QString& pdf) {
    QStringList list =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
            .split(QLatin1Char('\f'));
    if (!list.isEmpty() && list.last().trimmed().isEmpty())
        list.removeLast();
    return list;
}

// The first non-blank line of a text, trimmed.
inline QString firstLineOf(const QString& text) {
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty())
            return line.trimmed();
    }
    return {};
}

// The first non-blank line of a page's text, trimmed.
inline QString firstLine(const QString& pdf, int page) {
    for (const QString& line : pageText(pdf, page).split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty())
            return line.trimmed();
    }
    return {};
}

struct Word {
    QString text;
    QRectF box; // in points, from the page's top left
};

// The words of a page with their boxes.
inline std::vector<Word> words(const QString& pdf, int page) {
    const QString html =
        run(QStringLiteral("pdftotext"),
            {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
             QString::number(page), QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    static const QRegularExpression re(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">"
        "([^<]*)</word>"));
    std::vector<Word> list;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const double x0 = m.captured(1).toDouble(), y0 = m.captured(2).toDouble();
        const double x1 = m.captured(3).toDouble(), y1 = m.captured(4).toDouble();
        QString text = m.captured(5);
        text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
        text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
        text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
        list.push_back({text, QRectF(QPointF(x0, y0), QPointF(x1, y1))});
    }
    return list;
}

// The first word with this text, or null.
inline const Word* find(const std::vector<Word>& list, const QString& text, int from = 0) {
    for (std::size_t i = static_cast<std::size_t>(from); i < list.size(); ++i) {
        if (list[i].text == text)
            return &list[i];
    }
    return nullptr;
}

// A page rendered at the resolution (dots per inch), or null.
inline QImage renderPage(const QString& pdf, int page, int dpi, const QString& pngBase) {
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page),
         QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
         QStringLiteral("-singlefile"), pdf, pngBase});
    return QImage(pngBase + QStringLiteral(".png"));
}

} // namespace pdftest
