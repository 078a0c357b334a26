// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
//
// Seeded clicks, keys, recordings, unplugs and replugs in the window on top,
// the program started again whenever it ends. After every event: no hang, no
// keyboard grab without an editor, saved files load, and the save question
// comes exactly when unsaved changes would otherwise go. Environment:
// VELKORONDRIX_RANDOM_USE_SEED (replays a run), _EVENTS (400), _SECONDS,
// _TRACE=1 (prints each event).
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <thread>

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "SimulatedKeyboardSetup.h"
#include "editor/CTarnDialogKeyMapSettings.h"
#include "jobs/CTarnDialogProgress.h"
#include "shell/CTarnDlg.h"
#include "support/FakeSystemDialogs.h"

#ifdef VELKORONDRIX_RANDOM_USE_X11
#include <X11/Xlib.h>

#include "XvfbServer.h"
#endif

namespace fs = std::filesystem;

namespace {

using Answer = SystemDialogs::Answer;
using Buttons = SystemDialogs::Buttons;
using Clock = std::chrono::steady_clock;

long long fromEnvironment(const char* name, long long fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtoll(text, nullptr, 10) : fallback;
}

// Every dialog answered at random; while the run winds down, so that all closes.
struct RandomDialogs : FakeSystemDialogs {
    RandomDialogs(std::mt19937_64& random, fs::path folder) : random_(random), folder_(std::move(folder)) {}
    bool windingDown = false;
    int questions = 0;              // "Save the changes ... first?"
    std::optional<fs::path> saved;  // a path handed to a save

    Answer messageBox(QWidget* parent, const std::wstring& text, Buttons buttons, Icon icon,
                      const std::wstring& caption) override {
        const bool question = buttons == Buttons::SaveDiscardCancel || buttons == Buttons::SaveDiscard;
        questions += question;
        const Answer any[] = {Answer::Ok, Answer::Cancel, Answer::Yes, Answer::No, Answer::Save, Answer::Discard};
        Answer answer = windingDown ? (question ? Answer::Discard : Answer::No) : any[random_() % 6];
        if (buttons == Buttons::Ok || (buttons == Buttons::SaveDiscard && answer != Answer::Save))
            answer = closedAnswer(buttons);  // an answer the box has not: closed instead
        queueAnswer(answer);
        return FakeSystemDialogs::messageBox(parent, text, buttons, icon, caption);
    }
    std::optional<std::wstring> openFileName(QWidget* parent, const FileRequest& request) override {
        const char* names[] = {"work.pro", "garbage.pro", "firmware.hex", nullptr};
        const char* name = windingDown ? nullptr : names[random_() % 4];
        queueOpenFile(name ? std::optional((folder_ / name).wstring()) : std::nullopt);
        return FakeSystemDialogs::openFileName(parent, request);
    }
    std::optional<std::wstring> saveFileName(QWidget* parent, const FileRequest& request) override {
        saved = random_() % 4 || windingDown ? std::optional(folder_ / "work.pro") : std::nullopt;
        queueSaveFile(saved ? std::optional(saved->wstring()) : std::nullopt);
        return FakeSystemDialogs::saveFileName(parent, request);
    }
    std::optional<QColor> chooseColor(QWidget* parent, QColor initial) override {
        queueColor(QColor::fromRgb(static_cast<QRgb>(random_())));
        return FakeSystemDialogs::chooseColor(parent, initial);
    }
    int popupMenu(QWidget* parent, QPoint globalPos, const std::vector<MenuItem>& items) override {
        queueMenuChoice(random_() % 2 ? CTarnDialogKeyMapSettings::kLeftPress + static_cast<int>(random_() % 13) : 0);
        return FakeSystemDialogs::popupMenu(parent, globalPos, items);
    }
    std::mt19937_64& random_;
    fs::path folder_;
};

// Each job gets one event however long it runs, so that a replay draws the same numbers.
struct JobCounter : QObject {
    int shown = 0;
    bool eventFilter(QObject* watched, QEvent* event) override {
        shown += event->type() == QEvent::Show && qobject_cast<CTarnDialogProgress*>(watched);
        return false;
    }
};

class RandomUseTest : public ::testing::Test {
protected:
    void SetUp() override {
        qunsetenv("DISPLAY");
#ifdef VELKORONDRIX_RANDOM_USE_X11
        std::string why;
        if ((server_ = XvfbServer::start(&why))) {
            qputenv("DISPLAY", QByteArray::fromStdString(server_->displayName()));
            grabChecker_.reset(XOpenDisplay(server_->displayName().c_str()));
        }
        if (!grabChecker_)
            std::cout << "random use: keyboard grab NOT checked: " << why << std::endl;
#endif
        std::ofstream(simulator_.folder / "garbage.pro") << "<profile><broken";
        std::ofstream(simulator_.folder / "firmware.hex") << ":00000001FF\n";
    }
    void TearDown() override { qunsetenv("DISPLAY"); }

    bool keyboardFree() {
#ifdef VELKORONDRIX_RANDOM_USE_X11
        if (Display* x = grabChecker_.get()) {
            const int status = XGrabKeyboard(x, DefaultRootWindow(x), False, GrabModeAsync, GrabModeAsync, CurrentTime);
            XUngrabKeyboard(x, CurrentTime);
            XSync(x, False);
            return status == GrabSuccess;
        }
#endif
        return true;
    }

    std::string replay() const {
        return " at event " + std::to_string(events_) + " (" + action_ + "); replay with VELKORONDRIX_RANDOM_USE_SEED="
               + std::to_string(seed_) + " VELKORONDRIX_RANDOM_USE_EVENTS=" + std::to_string(limit_);
    }
    void failAt(const std::string& what) {
        ADD_FAILURE() << what << replay();
        failed_ = true;
    }
    unsigned draw(unsigned below) { return static_cast<unsigned>(random_() % below); }

    void unplug(CTarnDlg& main) {
        std::ifstream stored(simulator_.keyboard->stateFile(), std::ios::binary);
        memory_.assign(std::istreambuf_iterator<char>(stored), {});
        simulator_.keyboard->unplug();
        main.deviceChanged();
    }
    void click(CSkinDialog& window, const SkinControl& control, Qt::MouseButton button = Qt::LeftButton) {
        action_ = describe(window, " click ", control.id);
        const auto& r = control.rect;
        if (window.isVisible())
            QTest::mouseClick(&window, button, {}, QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    }
    static std::string describe(QWidget& window, const char* what, long long number) {
        return window.metaObject()->className() + std::string(what) + std::to_string(number);
    }

    // One event on the window on top, then the checks.
    void step(CTarnDlg& main) {
        // Queued first, so that whichever loop runs next takes it, also one this event opens.
        QTimer::singleShot(0, &main, [this, &main] { step(main); });
        QWidget* top = QApplication::activeModalWidget();
        if (failed_ || ++events_ > limit_ || Clock::now() > deadline_) {
            dialogs_.windingDown = true;
            if (auto* progress = qobject_cast<CTarnDialogProgress*>(top))
                progress->abortJob();
            top && top != &main ? static_cast<QDialog*>(top)->QDialog::done(0) : main.done(0);
            return;
        }
        lastProgress_ = Clock::now();
        top = QApplication::activeModalWidget();
        auto* window = qobject_cast<CSkinDialog*>(top ? top : &main);
        if (!window || !window->isVisible())
            return;
        if (qobject_cast<CTarnDialogProgress*>(top)) {  // the profile may be written: nothing measured
            if (jobs_.shown == jobSeen_) {
                --events_;
                return;
            }
            jobSeen_ = jobs_.shown;
            const unsigned choice = draw(10);
            action_ = "job " + std::to_string(choice);
            if (choice >= 8)
                unplug(main);
            else if (choice >= 6)
                QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(282, 218));  // its Cancel
            return;
        }
        const bool onMain = window == &main, unsaved = profile_->hasUnsavedChanges();
        const int questions = dialogs_.questions;
        const long long eventsBefore = events_;
        dialogs_.saved.reset();
        bool dropsWork = false, saveClicked = false;  // dropsWork: unsaved changes go unless asked
        auto* editor = qobject_cast<CTarnDialogKeyMapSettings*>(window);

        const unsigned kind = draw(100);
        if (kind < 3) {
            action_ = "unplug";
            dropsWork = true;
            unplug(main);
        } else if (kind < 13) {
            const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
                {Qt::Key_Return, {}}, {Qt::Key_Escape, {}}, {Qt::Key_Z, Qt::ControlModifier},
                {Qt::Key_Y, Qt::ControlModifier}, {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier},
                {Qt::Key_5, {}}, {Qt::Key_A, {}}, {Qt::Key_Backspace, {}}};
            const auto [key, modifiers] = keys[draw(8)];
            action_ = describe(*window, " key ", key);
            dropsWork = onMain && (key == Qt::Key_Return || key == Qt::Key_Escape);
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(qobject_cast<QLineEdit*>(focus) && draw(2) ? focus : window, key, modifiers);
        } else if (kind < 25 && editor) {  // a function from an icon page, and OK
            const int page = 4 + static_cast<int>(draw(4));
            std::vector<const SkinControl*> icons;
            for (const SkinControl& control : editor->controls())
                if (control.id / 100 == page && control.rect.left < control.rect.right)
                    icons.push_back(&control);
            click(*editor, *editor->controlById(CTarnDialogKeyMapSettings::kFirstTab + page - 1));
            click(*editor, *icons[draw(static_cast<unsigned>(icons.size()))]);
            click(*editor, *editor->controlById(CTarnDialogKeyMapSettings::kOk));
        } else if (kind < 40 && !onMain) {  // a recorded key, as the hook posts it
            action_ = describe(*window, " message ", hwi_msg::kKeyEvent);
            window->postMessage(hwi_msg::kKeyEvent, draw(256) | (draw(2) ? 0x80000000u : 0), draw(8) ? 0 : 0x01000000);
            QCoreApplication::sendPostedEvents(window);
        } else {  // commands and OK as often as keys and rows together
            const bool command = draw(2);
            std::vector<const SkinControl*> targets;
            for (const SkinControl& control : window->controls())
                if (((onMain ? control.keyId <= 0 : true) && control.id < 100) == command
                    && !(onMain && control.id == CTarnDlg::kHelp))  // no browser
                    targets.push_back(&control);
            if (targets.empty())
                return;
            const SkinControl& control = *targets[draw(static_cast<unsigned>(targets.size()))];
            const bool right = draw(6) == 0;
            const int id = control.id;
            dropsWork = onMain && !right && control.keyId <= 0
                        && (id == CTarnDlg::kExit || id == CTarnDlg::kOpen || id == CTarnDlg::kReadAll
                            || id == CTarnDlg::kClear);
            saveClicked = onMain && !right && id == CTarnDlg::kSave;
            click(*window, control, right ? Qt::RightButton : Qt::LeftButton);
        }
        if (trace_)
            std::cout << events_ << ' ' << action_ << (unsaved ? " (unsaved)" : "") << std::endl;
        if (events_ != eventsBefore || failed_)
            return;  // windows opened and closed meanwhile: the checks were theirs
        const bool asked = dialogs_.questions > questions;
        guarded_ += unsaved && dropsWork;
        if (asked && !unsaved)
            failAt("the question came without unsaved changes");
        if (!asked && unsaved && dropsWork)
            failAt("unsaved changes went without the question");
        if (dialogs_.saved && fs::exists(*dialogs_.saved)) {
            auto reloaded = emptyProfile();
            if (!reloaded->loadProfile(*dialogs_.saved))
                failAt("a saved profile does not load");
            else if (saveClicked && !profile_->hasUnsavedChanges() && !(reloaded->content() == profile_->content()))
                failAt("a saved profile does not hold the profile");
        }
        if (!qobject_cast<CTarnDialogKeyMapSettings*>(QApplication::activeModalWidget()) && !keyboardFree())
            failAt("the keyboard is grabbed without an editor");
        dialogs_.clear();
    }

    // The suite replays one run; CI's sanitizer stage passes a new seed each time.
    const std::uint64_t seed_ = static_cast<std::uint64_t>(fromEnvironment("VELKORONDRIX_RANDOM_USE_SEED", 2026));
    const long long limit_ = fromEnvironment("VELKORONDRIX_RANDOM_USE_EVENTS", 400);
    const Clock::time_point deadline_ =
        Clock::now() + std::chrono::seconds(fromEnvironment("VELKORONDRIX_RANDOM_USE_SECONDS", 600));
    const bool trace_ = fromEnvironment("VELKORONDRIX_RANDOM_USE_TRACE", 0) != 0;
    SimulatedKeyboardSetup simulator_{"randomuse"};
    std::mt19937_64 random_{seed_};
    RandomDialogs dialogs_{random_, simulator_.folder};
    JobCounter jobs_;
    std::unique_ptr<KeyboardProfile> profile_;
    long long events_ = 0;
    int guarded_ = 0, jobSeen_ = 0;
    bool failed_ = false;
    std::string memory_, action_;
    std::atomic<Clock::time_point> lastProgress_;
#ifdef VELKORONDRIX_RANDOM_USE_X11
    std::unique_ptr<XvfbServer> server_;
    std::unique_ptr<Display, int (*)(Display*)> grabChecker_{nullptr, XCloseDisplay};
#endif
};

TEST_F(RandomUseTest, EveryWindowSurvivesRandomUseAndNoWorkGoesUnasked) {
    std::cout << "random use: VELKORONDRIX_RANDOM_USE_SEED=" << seed_ << " VELKORONDRIX_RANDOM_USE_EVENTS="
              << limit_ << std::endl;
    qApp->installEventFilter(&jobs_);
    std::atomic<bool> finished{false};
    lastProgress_ = Clock::now();
    std::thread watchdog([&] {  // no event may take a minute
        for (; !finished; std::this_thread::sleep_for(std::chrono::milliseconds(200)))
            if (Clock::now() - lastProgress_.load() > std::chrono::seconds(60)) {
                std::cerr << "random use: HANG" << replay() << std::endl;
                std::abort();
            }
    });
    int runs = 0;
    while (!failed_ && events_ < limit_ && Clock::now() < deadline_) {
        if (!simulator_.keyboard->present()) {  // back in with its memory, or now and then factory-fresh
            if (draw(4))
                std::ofstream(simulator_.keyboard->stateFile(), std::ios::binary) << memory_;
            simulator_.keyboard->plugIn();
        }
        profile_ = emptyProfile();
        dialogs_.windingDown = false;
        CTarnDlg main(*profile_, dialogs_);
        // Long enough that the first event after a job starts finds it running.
        main.setJobWaits({std::chrono::milliseconds(30), std::chrono::milliseconds(30)});
        runs += main.isConnected();
        if (!main.isConnected())
            continue;
        QTimer::singleShot(0, &main, [this, &main] { step(main); });
        main.exec();
        if (!failed_ && fs::exists(CTarnDlg::autosavePath()))
            failAt("the autosave outlived a normal end");
        if (!failed_ && !keyboardFree())
            failAt("the keyboard is grabbed after the program ended");
    }
    finished = true;
    watchdog.join();
    qApp->removeEventFilter(&jobs_);
    std::cout << "random use: " << std::min(events_, limit_) << " events in " << runs << " runs, " << guarded_
              << " of them would have dropped unsaved changes" << std::endl;
}

}  // namespace
