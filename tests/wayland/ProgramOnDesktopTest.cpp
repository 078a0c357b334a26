// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT

// The real program on a headless Wayland desktop, natively and on XWayland,
// used through the desktop's keyboard and pointer only; the simulated keyboard
// it configures is read back with the command-line tool.
#include <sys/stat.h>

#include <span>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QThread>

#include "SwayDesktop.h"
#include "editor/CTarnDialogKeyMapSettings.h"
#include "editor/KeyMapWindowLayout.h"
#include "shell/CTarnDlg.h"
#include "shell/MainWindowLayout.h"

namespace {

using Editor = CTarnDialogKeyMapSettings;
constexpr int kKeyA = 43;
constexpr int kKeyS = 44;

QRect qRect(const layout::Rect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

// The rectangle of a control (id) or on-screen key (keyId) of a layout.
QRect rowRect(std::span<const layout::Row> rows, int id, int keyId = -1) {
    for (const layout::Row& row : rows)
        if (keyId < 0 ? row.id == id : row.kind == layout::Kind::Key && row.keyId == keyId)
            return qRect(row.rect);
    ADD_FAILURE() << "no control " << id << " or key " << keyId;
    return {};
}

ino_t fileIdentity(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}

class ProgramOnDesktop : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ASSERT_EQ(desktop.error().toStdString(), "");
        simulator = desktop.emptyFile("keyboard.sim");
        program.setStandardOutputFile(QDir(desktop.folder()).filePath("program.log"));
        program.setStandardErrorFile(QDir(desktop.folder()).filePath("program.log"), QIODevice::Append);
        desktop.startClient(program, VELKORONDRIX_PROGRAM, {}, GetParam(), {"VELKORONDRIX_SIMULATOR=" + simulator});
        ASSERT_TRUE(program.waitForStarted()) << program.errorString().toStdString();
        ASSERT_TRUE(desktop.waitForWindows(program.processId(), 1)) << "the main window never appeared" << log();
    }
    void TearDown() override {
        program.kill();
        program.waitForFinished();
    }

    std::string log() const {
        QFile file(QDir(desktop.folder()).filePath("program.log"));
        file.open(QIODevice::ReadOnly);
        return "\nprogram output:\n" + file.readAll().right(3000).toStdString();
    }
    QRect window(qsizetype index) const { return desktop.windowsOf(program.processId()).value(index); }
    bool windowsAre(qsizetype count) const { return desktop.waitForWindows(program.processId(), count); }
    // Window 0 is the main window, window 1 the editor above it.
    bool clickMain(const QRect& area) { return desktop.click(window(0).topLeft() + area.center()); }
    QRect editorControl(int id) const {
        return rowRect(layout::keyMapWindowRows, id).translated(window(1).topLeft());
    }
    bool clickEditor(int id) { return desktop.click(editorControl(id).center()); }
    bool openEditor(int keyId) { return clickMain(rowRect(layout::mainWindowRows, -1, keyId)) && windowsAre(2); }

    // Clicks a record button and waits, as a user would, until it shows its
    // green "Stop Rec": the keys typed from then on count.
    bool startRecording(int id) {
        const QRect button = editorControl(id);
        auto recording = [&](const QImage& image) {
            for (int y = button.top(); y <= button.bottom(); ++y)
                for (int x = button.left(); x <= button.right(); ++x)
                    if (image.pixel(x, y) == 0xff00ff00)
                        return true;
            return false;
        };
        return clickEditor(id) && recording(desktop.screenshotWhen(recording));
    }
    // Waits until an area of the screen no longer looks as it did.
    bool changes(const QRect& area, const QImage& before) {
        auto changed = [&](const QImage& image) { return image.copy(area) != before.copy(area); };
        return changed(desktop.screenshotWhen(changed));
    }

    // Writes the keys from the main window; then the keyboard's line for the
    // key, "43 A L1 Single X", or why there is none.
    std::string writtenAssignment(int keyId) {
        const ino_t before = fileIdentity(simulator);
        if (!clickMain(rowRect(layout::mainWindowRows, CTarnDlg::kWriteKeys)))
            return "(cannot click WriteKeys)";
        // The simulated keyboard replaces its file when a write ends.
        for (const QDeadlineTimer deadline(10000); fileIdentity(simulator) == before; QThread::msleep(50))
            if (deadline.hasExpired())
                return "(no write reached the keyboard)";
        const QString profile = QDir(desktop.folder()).filePath("read.pro");
        QProcess ctl;
        ctl.start(VELKORONDRIX_CTL, {"--simulator", simulator, "read", profile});
        ctl.waitForFinished();
        ctl.start(VELKORONDRIX_CTL, {"show", profile});
        ctl.waitForFinished();
        const QString shown = QString::fromUtf8(ctl.readAllStandardOutput());
        for (const QString& line : shown.split('\n'))
            if (line.simplified().startsWith(QString::number(keyId) + ' '))
                return line.simplified().toStdString();
        return "(key not assigned) " + shown.toStdString();
    }

    SwayDesktop desktop;
    QProcess program;
    QString simulator;
};

TEST_P(ProgramOnDesktop, CapturesASingleKeyTypedOnTheDesktop) {
    ASSERT_TRUE(openEditor(kKeyA)) << log();
    const QImage idle = desktop.screenshot();
    ASSERT_TRUE(startRecording(Editor::kCapture)) << "no capture started" << log();
    // The desktop's keys reach only the editor's own window, and a tip says so.
    EXPECT_TRUE(changes(qRect(layout::keyMapRecordingTip).translated(window(1).topLeft()), idle))
        << "no tip says where to type";
    const QImage before = desktop.screenshot();
    ASSERT_TRUE(desktop.type("45"));  // X
    // A user reads the key's name before taking it with OK.
    EXPECT_TRUE(changes(editorControl(Editor::kCapturedKeyName), before)) << "the captured key is not shown";
    ASSERT_TRUE(clickEditor(Editor::kOk));  // ends the capture and keeps it
    ASSERT_TRUE(windowsAre(1)) << "OK left the editor open" << log();
    EXPECT_EQ(writtenAssignment(kKeyA), "43 A L1 Single X");
}

// While a macro records, Enter and Escape are keys like any other: neither
// ends the editor nor the program. Each delay is the time between the events
// as the window system stamped them: the desktop's keyboard stamps its events
// 400 ms apart but sends them 100 ms apart. XWayland stamps the events it
// passes on with its own clock, so there the delays are the 100 ms.
TEST_P(ProgramOnDesktop, RecordsAMacroWithEnterAndEscapeAtTheEventsOwnTimes) {
    ASSERT_TRUE(openEditor(kKeyS)) << log();
    ASSERT_TRUE(clickEditor(Editor::kFirstTab + 1));
    ASSERT_TRUE(clickEditor(Editor::kNewMacro));
    ASSERT_TRUE(clickEditor(Editor::kRecordMacro));  // names the new macro
    ASSERT_TRUE(startRecording(Editor::kRecordMacro)) << "no recording started" << log();
    ASSERT_TRUE(desktop.type("--pace 100 --step 400 30 +42 48 -42 28 1"));  // A, Shift+B, Enter, Escape
    QThread::msleep(500);  // Enter acted on would close the editor at once, Escape then the main window
    ASSERT_EQ(desktop.windowsOf(program.processId()).size(), 2) << "a key closed a window while recording" << log();
    ASSERT_TRUE(clickEditor(Editor::kRecordMacro));  // stops
    ASSERT_TRUE(clickEditor(Editor::kOk));
    ASSERT_TRUE(windowsAre(1)) << "OK left the editor open" << log();

    const QString written = QString::fromStdString(writtenAssignment(kKeyS));
    const QString macro = "44 S L1 Macro ";
    ASSERT_TRUE(written.startsWith(macro)) << written.toStdString();
    const QStringList items = written.mid(macro.size()).split(',');
    QStringList names, delays;
    for (qsizetype i = 0; i < items.size(); ++i)
        (i % 2 ? delays : names).append(items[i]);
    EXPECT_EQ(names.join(','), "A,A,Left SHIFT,B,B,Left SHIFT,ENTER,ENTER,ESC,ESC");
    for (const QString& delay : delays)
        if (QString(GetParam()) == "wayland")
            EXPECT_NEAR(delay.toInt(), 400, 1) << written.toStdString();
        else
            EXPECT_TRUE(delay.toInt() >= 50 && delay.toInt() < 300) << written.toStdString();
}

// The colour-key corners of the main window show the desktop's background,
// the editor's the main window beneath: neither the key colour nor black.
TEST_P(ProgramOnDesktop, CornersShowWhatLiesBehindTheWindows) {
    auto cornersShowBehind = [this](const QRect& area, const QImage& behind) {
        const QImage shot = desktop.screenshotWhen(
            [&](const QImage& image) { return image.pixel(area.center()) != behind.pixel(area.center()); });
        EXPECT_NE(shot.pixel(area.center()), behind.pixel(area.center())) << "the window is not drawn";
        for (const QPoint corner : {area.topLeft(), area.topRight(), area.bottomLeft(), area.bottomRight()})
            EXPECT_EQ(shot.pixel(corner), behind.pixel(corner))
                << "corner at " << corner.x() << "," << corner.y() << " is " << std::hex << shot.pixel(corner);
        return shot;
    };
    QImage desktopOnly(desktop.screenshot().size(), QImage::Format_RGB32);
    desktopOnly.fill(SwayDesktop::kBackground);
    const QImage alone = cornersShowBehind(window(0), desktopOnly);
    ASSERT_TRUE(openEditor(kKeyA)) << log();
    cornersShowBehind(window(1), alone);
}

INSTANTIATE_TEST_SUITE_P(Desktop, ProgramOnDesktop, ::testing::Values("wayland", "xcb"),
                         [](const auto& info) { return info.param == std::string("wayland") ? "Native" : "XWayland"; });

}  // namespace
