#pragma once

#include "ui/materials/CThumbListCtrl.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace shelltest {

// A mouse click on the thumbnail labelled with the picture key, once the thumbnails arrived.
inline void clickThumbnail(CThumbListCtrl* thumbs, const QString& key) {
    ASSERT_TRUE(thumbs->waitForThumbnails(10000));
    int item = 0;
    while (item < thumbs->count() && thumbs->label(item) != key)
        ++item;
    ASSERT_LT(item, thumbs->count()) << key.toStdString();
    thumbs->scrollToItem(thumbs->item(item));
    QTest::mouseClick(thumbs->viewport(), Qt::LeftButton, {},
                      thumbs->visualItemRect(thumbs->item(item)).center());
    QApplication::processEvents();
}

} // namespace shelltest
