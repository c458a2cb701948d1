#pragma once

#include <QRect>
#include <QString>

#include <string>

class PrintJob;
class Project;
class QFont;
class QPaintDevice;
class QPainter;

// The printed order: one page with the order information, the door sketch, the signature lines
// of the shop and the client, and the shop's conditions from config/info.txt. Conditions too long
// for the page run on over the next pages, with the signatures after them.
class OrderPage {
public:
    static bool print(PrintJob& job, Project& project);

    // The text of config/info.txt under the base folder (Windows-1251, line ends made "\n");
    // empty when the file is missing or empty.
    static QString infoText(const std::string& baseFolder);

    // Where the signature block puts its parts for a rectangle whose top is the block's top.
    struct SignatureLayout {
        QRect shopText;     // "Заказ принял(а)." wrapped into the left column
        QRect clientText;   // the client's consent wrapped into the right column
        int lineY = 0;      // both signature lines
        QRect info;         // the info text over the full width, down to the rectangle's bottom
        int infoHeight = 0; // the wrapped height the info text needs
        // Height the whole block needs, from the rectangle's top to the end of the info text.
        int neededHeight() const;
    };
    static SignatureLayout layoutSignature(const QRect& rect, const QFont& font,
                                           QPaintDevice* device, const QString& info);

    // The door sketch drawn into rect (at its top, centred); returns the height used. The
    // pictures scaled for it are let go afterwards.
    static int paintSketch(QPainter& painter, Project& project, const QRect& rect, int dpiY);
    // Where paintSketch puts the doors themselves (without their numbers); empty when it draws
    // nothing.
    static QRect sketchDoorsArea(const Project& project, const QRect& rect, int dpiY);

    static const char* const kShopText;
    static const char* const kClientText;

private:
    static void paintSignature(PrintJob& job, const SignatureLayout& sign, const QString& info);
    static bool printConditionsThenSignatures(PrintJob& job, const QString& info);
};
