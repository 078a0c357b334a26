// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include "profile/KeyboardProfile.h"
#include "shell/CSkinDialog.h"
#include "shell/CTarnApp.h"
#include "support/FakeSystemDialogs.h"

namespace {

constexpr layout::Window kProgressLike{"progress", 139, 140, 141, 300, 200, {255, 0, 0}, 107, {}};

// Runs with a main window that notes what it saw and closes itself at once.
class TestApp : public CTarnApp {
public:
    using CTarnApp::CTarnApp;
    QSize windowSize;
    std::string languageSeen;
    int bitmapsSeen = 0;

protected:
    std::unique_ptr<QDialog> createMainWindow() override {
        auto window = std::make_unique<CSkinDialog>(kProgressLike, profile().language);
        windowSize = window->size();
        languageSeen = profile().language;
        bitmapsSeen = static_cast<int>(!AppResources::current().bitmap(139).isNull());
        QTimer::singleShot(0, window.get(), &QDialog::accept);
        return window;
    }
};

TEST(AppStartTest, DrawingObjectsAreTheDarkBrushAndTwentyPixelHeights) {
    AppResources resources;
    resources.createDrawingObjects();
    EXPECT_EQ(resources.darkBrush.color(), QColor(20, 20, 20));
    EXPECT_EQ(resources.darkBrush.style(), Qt::SolidPattern);
    const QFont standard;
    EXPECT_EQ(resources.fontTable[0].pixelSize(), standard.pixelSize());
    EXPECT_EQ(resources.fontTable[0].pointSizeF(), standard.pointSizeF());
    for (int i = 1; i < AppResources::kFontCount; ++i) {
        EXPECT_EQ(resources.fontTable[i].pixelSize(), i);
        EXPECT_EQ(resources.fontTable[i].family(), standard.family());
        EXPECT_FALSE(resources.fontTable[i].bold() || resources.fontTable[i].italic());
    }
}

TEST(AppStartTest, ResourceFileIsLoadedByNameFromTheFolderAndReleased) {
    KeyboardProfile profile;
    FakeSystemDialogs dialogs;
    CTarnApp app(profile, dialogs);
    app.setResourceFolder(QStringLiteral(SHELL_TEST_RESOURCES));
    ASSERT_TRUE(app.loadResourceLibrary());
    EXPECT_EQ(app.loadBitmaps(), 3);
    EXPECT_EQ(app.resources().bitmap(139).size(), QSize(40, 30));
    EXPECT_TRUE(app.resources().bitmap(101).isNull());
    app.release();
    EXPECT_TRUE(app.resources().bitmap(139).isNull());
    EXPECT_FALSE(QFile::exists(AppResources::bitmapPath(139)));
}

// In the build tree the resource file lies beside the program; an installed
// program finds it in its data folder relative to itself, wherever the
// installation was moved.
TEST(AppStartTest, ResourcesAreBesideTheProgramOrInItsInstalledDataFolder) {
    const QTemporaryDir root;
    for (const char* tree : {"usr", "opt/moved"}) {
        const QString program = root.filePath(QLatin1String(tree) + QStringLiteral("/bin"));
        const QString data = QDir::cleanPath(program + QStringLiteral("/" VELKORONDRIX_DATA_FROM_PROGRAM));
        ASSERT_TRUE(QDir().mkpath(program) && QDir().mkpath(data));
        const QString resources = QStringLiteral(SHELL_TEST_RESOURCES "/VelkorOndrix_RES.rcc");
        ASSERT_TRUE(QFile::copy(resources, data + QStringLiteral("/VelkorOndrix_RES.rcc")));
        EXPECT_EQ(AppResources::dataFolder(program), data);
        ASSERT_TRUE(QFile::copy(resources, program + QStringLiteral("/VelkorOndrix_RES.rcc")));
        EXPECT_EQ(AppResources::dataFolder(program), program);
    }
}

TEST(AppStartTest, EveryRunStartsInEnglishWithTheSkinsInPlace) {
    KeyboardProfile profile;
    FakeSystemDialogs dialogs;
    for (int run = 0; run < 2; ++run) {
        profile.language = "zh-CN";  // as a previous run may have left it
        TestApp app(profile, dialogs);
        app.setResourceFolder(QStringLiteral(SHELL_TEST_RESOURCES));
        EXPECT_EQ(app.run(), 0);
        EXPECT_EQ(app.languageSeen, "en-US");
        EXPECT_EQ(app.windowSize, QSize(40, 30));
        EXPECT_EQ(app.bitmapsSeen, 1);
        // Released after the main window closed.
        EXPECT_TRUE(AppResources::current().bitmap(139).isNull());
        EXPECT_FALSE(QFile::exists(AppResources::bitmapPath(139)));
    }
    EXPECT_TRUE(dialogs.requests().empty());
}

TEST(AppStartTest, MissingResourceFileStillRunsWithFallbackSizes) {
    KeyboardProfile profile;
    FakeSystemDialogs dialogs;
    TestApp app(profile, dialogs);
    app.setResourceFolder(QStringLiteral("/nonexistent/velkorondrix"));
    EXPECT_FALSE(app.loadResourceLibrary());
    EXPECT_EQ(app.run(), 0);
    EXPECT_EQ(app.windowSize, QSize(300, 200));
    EXPECT_EQ(app.bitmapsSeen, 0);
    EXPECT_EQ(app.languageSeen, "en-US");
}

}  // namespace
