#pragma once

#include "ui/ViewsTestSupport.h"
#include "ui/shared/PictureCache.h"
#include "ui/sketch/DraftDlg.h"

#include <gtest/gtest.h>

#include <memory>

// A sketch of 1000 × 700 pixels on a project of its own, its notifications recorded. Not shown:
// a test that needs the window system shows it in its own SetUp.
class SketchFixture : public ::testing::Test {
protected:
    viewstest::ProjectWorld world;
    Project& project = *world.project;
    viewstest::RecordingHub hub;
    PictureCache cache;
    std::unique_ptr<DraftDlg> sketch;

    void SetUp() override {
        sketch = std::make_unique<DraftDlg>(project, &hub, nullptr, &cache);
        sketch->resize(1000, 700);
    }
};
