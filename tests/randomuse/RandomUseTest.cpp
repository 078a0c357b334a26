// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
//
// Random use: a seeded run of clicks, key presses, recordings (message 1126,
// as the hook posts it), unplugs and replugs in whichever window is on top,
// the program started again whenever it ends. After every event: no hang, no
// keyboard grab left without an editor, every saved file loadable, and the
// question asked exactly when unsaved changes would otherwise go.
//
//   VELKORONDRIX_RANDOM_USE_SEED     the run to replay (printed by every run)
//   VELKORONDRIX_RANDOM_USE_EVENTS   how many events (default 400)
//   VELKORONDRIX_RANDOM_USE_SECONDS  stop earlier after this long
//   VELKORONDRIX_RANDOM_USE_TRACE=1  print each event
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
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

long long environmentNumber(const char* name, long long fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtoll(text, nullptr, 10) : fallback;
}

// Desktop dialogs answered at random from the run's generator; while the run
// winds down every question is answered so that the windows close.
class RandomDialogs : public FakeSystemDialogs {
public:
    RandomDialogs(std::mt19937_64& random, fs::path folder) : random_(random), folder_(std::move(folder)) {}

    bool windingDown = false;
    int questions = 0;                // "Save the changes ... first?" asked
    std::optional<fs::path> saved;    // a path handed to a save

    Answer messageBox(QWidget* parent, const std::wstring& text, Buttons buttons, Icon icon,
                      const std::wstring& caption) override {
        if (buttons == Buttons::SaveDiscardCancel || buttons == Buttons::SaveDiscard)
            ++questions;
        queueAnswer(pick(buttons));
        return FakeSystemDialogs::messageBox(parent, text, buttons, icon, caption);
    }
    std::optional<std::wstring> openFileName(QWidget* parent, const FileRequest& request) override {
        const fs::path names[] = {"work.pro", "garbage.pro", "firmware.hex"};
        queueOpenFile(chance(3) || windingDown ? std::nullopt
                                               : std::optional((folder_ / names[random_() % 3]).wstring()));
        return FakeSystemDialogs::openFileName(parent, request);
    }
    std::optional<std::wstring> saveFileName(QWidget* parent, const FileRequest& request) override {
        const bool cancel = chance(4) && !windingDown;
        if (!cancel)
            saved = folder_ / "work.pro";
        queueSaveFile(cancel ? std::nullopt : std::optional(saved->wstring()));
        return FakeSystemDialogs::saveFileName(parent, request);
    }
    std::optional<QColor> chooseColor(QWidget* parent, QColor initial) override {
        queueColor(chance(3) ? std::nullopt : std::optional(QColor::fromRgb(static_cast<QRgb>(random_()))));
        return FakeSystemDialogs::chooseColor(parent, initial);
    }
    int popupMenu(QWidget* parent, QPoint globalPos, const std::vector<MenuItem>& items) override {
        std::vector<int> commands{0};
        for (const MenuItem& item : items)
            for (const MenuItem& child : item.children.empty() ? std::vector<MenuItem>{item} : item.children)
                commands.push_back(child.command);
        queueMenuChoice(commands[random_() % commands.size()]);
        return FakeSystemDialogs::popupMenu(parent, globalPos, items);
    }

private:
    bool chance(int oneIn) { return random_() % static_cast<unsigned>(oneIn) == 0; }
    Answer pick(Buttons buttons) {
        const auto oneOf = [this](std::initializer_list<Answer> answers) {
            return answers.begin()[random_() % answers.size()];
        };
        switch (buttons) {
        case Buttons::Ok: return Answer::Ok;
        case Buttons::OkCancel: return oneOf({Answer::Ok, Answer::Cancel});
        case Buttons::YesNo: return windingDown ? Answer::No : oneOf({Answer::Yes, Answer::No});
        case Buttons::YesNoCancel: return oneOf({Answer::Yes, Answer::No, Answer::Cancel});
        case Buttons::SaveDiscardCancel:
            return windingDown ? Answer::Discard : oneOf({Answer::Save, Answer::Discard, Answer::Cancel});
        case Buttons::SaveDiscard: return oneOf({Answer::Save, Answer::Discard});
        }
        return Answer::Cancel;
    }

    std::mt19937_64& random_;
    fs::path folder_;
};

class RandomUseTest : public ::testing::Test {
protected:
    void SetUp() override {
        qunsetenv("DISPLAY");
#ifdef VELKORONDRIX_RANDOM_USE_X11
        std::string why;
        server_ = XvfbServer::start(&why);
        if (server_) {
            qputenv("DISPLAY", QByteArray::fromStdString(server_->displayName()));
            grabChecker_ = XOpenDisplay(server_->displayName().c_str());
        } else {
            std::cout << "random use: keyboard grab NOT checked: " << why << std::endl;
        }
#endif
        std::ofstream(simulator_.folder / "garbage.pro") << "<profile><broken";
        std::ofstream(simulator_.folder / "firmware.hex") << ":00000001FF\n";
    }
    void TearDown() override {
#ifdef VELKORONDRIX_RANDOM_USE_X11
        if (grabChecker_)
            XCloseDisplay(grabChecker_);
        server_.reset();
#endif
        qunsetenv("DISPLAY");
    }

    // False when another client holds the keyboard.
    bool keyboardFree() {
#ifdef VELKORONDRIX_RANDOM_USE_X11
        if (!grabChecker_)
            return true;
        const int status = XGrabKeyboard(grabChecker_, DefaultRootWindow(grabChecker_), False, GrabModeAsync,
                                         GrabModeAsync, CurrentTime);
        XUngrabKeyboard(grabChecker_, CurrentTime);
        XSync(grabChecker_, False);
        return status == GrabSuccess;
#else
        return true;
#endif
    }

    static void clickControl(CSkinDialog& window, int id) {
        if (const SkinControl* control = window.controlById(id); control && window.isVisible())
            QTest::mouseClick(&window, Qt::LeftButton, {},
                              QPoint((control->rect.left + control->rect.right) / 2,
                                     (control->rect.top + control->rect.bottom) / 2));
    }

    void failAt(const std::string& what) {
        ADD_FAILURE() << what << " at event " << events_ << " (" << action_ << ")" << "; replay with VELKORONDRIX_RANDOM_USE_SEED=" << seed_
                      << " VELKORONDRIX_RANDOM_USE_EVENTS=" << limit_;
        failed_ = true;
    }

    bool chance(int oneIn) { return random_() % static_cast<unsigned>(oneIn) == 0; }
    template <typename T>
    const T& oneOf(const std::vector<T>& items) { return items[random_() % items.size()]; }

    void unplug() {
        std::ifstream stored(simulator_.keyboard->stateFile(), std::ios::binary);
        memory_.assign(std::istreambuf_iterator<char>(stored), {});
        simulator_.keyboard->unplug();
    }
    // Back in with its memory, or now and then factory-fresh.
    void replug() {
        if (!chance(4))
            std::ofstream(simulator_.keyboard->stateFile(), std::ios::binary) << memory_;
        simulator_.keyboard->plugIn();
    }

    // One event on the window on top; then the checks.
    void step(CTarnDlg& main) {
        // The next event is due in whatever loop runs then, also one that
        // this event opens (a timer never fires inside its own slot).
        QTimer::singleShot(0, &main, [this, &main] { step(main); });
        if (failed_ || ++events_ > limit_ || std::chrono::steady_clock::now() > deadline_) {
            windDown(main);
            return;
        }
        lastProgress_ = std::chrono::steady_clock::now();
        QWidget* top = QApplication::activeModalWidget();
        auto* window = qobject_cast<CSkinDialog*>(top ? top : &main);
        if (!window || !window->isVisible())
            return;
        const bool onMain = window == &main;
        // A job may be writing the profile: nothing is measured meanwhile.
        // Each job gets one event as it starts (it runs for however long it
        // takes, and a replay must draw the same numbers): waiting for its
        // end, its Cancel, or the cable pulled.
        if (qobject_cast<CTarnDialogProgress*>(top)) {
            if (jobsShown_.count == jobSeen_) {
                --events_;
                return;
            }
            jobSeen_ = jobsShown_.count;
            const unsigned choice = random_() % 10;
            action_ = "the job's window: " + std::to_string(choice);
            if (choice >= 8) {
                unplug();
                main.deviceChanged();
            } else if (choice >= 6) {
                QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(282, 218));
            }
            return;
        }

        const bool unsaved = profile_->hasUnsavedChanges();
        const int questions = dialogs_.questions;
        const long long eventsBefore = events_;
        dialogs_.saved.reset();
        bool dropsWork = false;  // the event would drop unsaved changes without the question
        bool saveClicked = false;

        const unsigned kind = random_() % 100;
        if (kind < 3) {
            action_ = "unplug";
            unplug();
            dropsWork = true;
            main.deviceChanged();
        } else if (kind < 13 && window->isVisible()) {
            static const std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys = {
                {Qt::Key_Return, Qt::NoModifier}, {Qt::Key_Escape, Qt::NoModifier},
                {Qt::Key_Z, Qt::ControlModifier}, {Qt::Key_Y, Qt::ControlModifier},
                {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier}, {Qt::Key_5, Qt::NoModifier},
                {Qt::Key_A, Qt::NoModifier}, {Qt::Key_Backspace, Qt::NoModifier}};
            const auto& [key, modifiers] = oneOf(keys);
            action_ = window->metaObject()->className() + std::string(": key ") + std::to_string(key);
            dropsWork = onMain && (key == Qt::Key_Return || key == Qt::Key_Escape);
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(qobject_cast<QLineEdit*>(focus) && chance(2) ? focus : window, key, modifiers);
        } else if (kind < 25 && qobject_cast<CTarnDialogKeyMapSettings*>(window)) {
            // A function chosen on one of the icon pages, and OK.
            const int page = 4 + static_cast<int>(random_() % 4);
            action_ = "editor: a function of page " + std::to_string(page) + " and OK";
            clickControl(*window, CTarnDialogKeyMapSettings::kFirstTab + page - 1);
            std::vector<int> icons;
            for (const SkinControl& control : window->controls())
                if (control.id / 100 == page && control.rect.left < control.rect.right)
                    icons.push_back(control.id);
            if (!icons.empty())
                clickControl(*window, oneOf(icons));
            clickControl(*window, CTarnDialogKeyMapSettings::kOk);
        } else if (kind < 40 && !onMain) {
            // A recording's key event, as the hook posts it.
            action_ = window->metaObject()->className() + std::string(": message 1126");
            const std::uintptr_t release = chance(2) ? 0x80000000u : 0;
            window->postMessage(hwi_msg::kKeyEvent, (random_() % 256) | release, chance(8) ? 0x01000000 : 0);
            QCoreApplication::sendPostedEvents(window);
        } else if (window->isVisible()) {
            // Commands and OK as often as all keys and rows together.
            const bool command = chance(2);
            std::vector<const SkinControl*> targets;
            for (const SkinControl& control : window->controls()) {
                const bool isCommand = onMain ? control.keyId <= 0 && control.id < 100 : control.id < 100;
                if (isCommand == command && !(onMain && control.id == CTarnDlg::kHelp))  // no browser
                    targets.push_back(&control);
            }
            if (targets.empty())
                return;
            const SkinControl& control = *oneOf(targets);
            const QPoint point((control.rect.left + control.rect.right) / 2, (control.rect.top + control.rect.bottom) / 2);
            const int id = control.id;
            action_ = window->metaObject()->className() + std::string(": click ") + std::to_string(id);
            const bool right = chance(6);
            dropsWork = onMain && !right && control.keyId <= 0
                        && (id == CTarnDlg::kExit || id == CTarnDlg::kOpen || id == CTarnDlg::kReadAll
                            || id == CTarnDlg::kClear);
            saveClicked = onMain && !right && id == CTarnDlg::kSave;
            QTest::mouseClick(window, right ? Qt::RightButton : Qt::LeftButton, {}, point);
        }
        if (trace_)
            std::cout << events_ << ' ' << action_ << (unsaved ? " (unsaved)" : "") << std::endl;
        if (events_ != eventsBefore || failed_)
            return;  // windows opened and closed meanwhile: the checks belong to those events
        const bool asked = dialogs_.questions > questions;
        guarded_ += unsaved && dropsWork;
        if (!unsaved && asked)
            failAt("the question came without unsaved changes");
        if (unsaved && dropsWork && !asked)
            failAt("unsaved changes could go without the question");
        if (dialogs_.saved && fs::exists(*dialogs_.saved)) {
            auto reloaded = emptyProfile();
            if (!reloaded->loadProfile(*dialogs_.saved))
                failAt("a saved profile does not load");
            else if (saveClicked && !profile_->hasUnsavedChanges() && !(reloaded->content() == profile_->content()))
                failAt("a saved profile does not hold the profile");
        }
        if (!qobject_cast<CTarnDialogKeyMapSettings*>(QApplication::activeModalWidget()) && !keyboardFree())
            failAt("the keyboard is still grabbed without an editor");
        dialogs_.clear();
    }

    // Closes whatever is open, the top window first.
    void windDown(CTarnDlg& main) {
        dialogs_.windingDown = true;
        QWidget* top = QApplication::activeModalWidget();
        if (auto* progress = qobject_cast<CTarnDialogProgress*>(top))
            progress->abortJob();
        if (auto* dialog = qobject_cast<QDialog*>(top); dialog && dialog != &main)
            dialog->QDialog::done(QDialog::Rejected);
        else
            main.done(QDialog::Rejected);
    }

    void run() {
        seed_ = static_cast<std::uint64_t>(environmentNumber(
            "VELKORONDRIX_RANDOM_USE_SEED", std::chrono::system_clock::now().time_since_epoch().count()));
        limit_ = environmentNumber("VELKORONDRIX_RANDOM_USE_EVENTS", 400);
        const long long seconds = environmentNumber("VELKORONDRIX_RANDOM_USE_SECONDS", 600);
        deadline_ = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        random_.seed(seed_);
        qApp->installEventFilter(&jobsShown_);
        std::cout << "random use: VELKORONDRIX_RANDOM_USE_SEED=" << seed_ << " VELKORONDRIX_RANDOM_USE_EVENTS="
                  << limit_ << std::endl;

        // No event may take a minute: a hang ends the run with its seed.
        std::atomic<bool> finished{false};
        lastProgress_ = std::chrono::steady_clock::now();
        std::thread watchdog([&] {
            while (!finished) {
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
                if (std::chrono::steady_clock::now() - lastProgress_.load() > std::chrono::seconds(60)) {
                    std::cerr << "random use: HANG at event " << events_ << "; replay with VELKORONDRIX_RANDOM_USE_SEED="
                              << seed_ << " VELKORONDRIX_RANDOM_USE_EVENTS=" << limit_ << std::endl;
                    std::abort();
                }
            }
        });
        int runs = 0;
        while (!failed_ && events_ < limit_ && std::chrono::steady_clock::now() < deadline_) {
            if (!simulator_.keyboard->present())
                replug();
            profile_ = emptyProfile();
            dialogs_.windingDown = false;
            CTarnDlg main(*profile_, dialogs_);
            ++runs;
            // Long enough that the first event after a job starts always finds it running.
            main.setJobWaits({std::chrono::milliseconds(30), std::chrono::milliseconds(30)});
            if (!main.isConnected())
                continue;
            QTimer::singleShot(0, &main, [this, &main] { step(main); });
            main.exec();
            if (!failed_ && fs::exists(CTarnDlg::autosavePath()))
                failAt("the autosave outlived a normal end");
            if (!failed_ && !keyboardFree())
                failAt("the keyboard is still grabbed after the program ended");
        }
        finished = true;
        watchdog.join();
        qApp->removeEventFilter(&jobsShown_);
        std::cout << "random use: " << std::min(events_, limit_) << " events in " << runs << " runs, " << guarded_
                  << " of them would have dropped unsaved changes" << std::endl;
    }

    SimulatedKeyboardSetup simulator_{"randomuse"};
    std::mt19937_64 random_;
    RandomDialogs dialogs_{random_, simulator_.folder};
    std::unique_ptr<KeyboardProfile> profile_;
    std::uint64_t seed_ = 0;
    long long limit_ = 0;
    long long events_ = 0;
    int guarded_ = 0;
    // Which job had its event: the jobs' windows are counted as they show
    // (one window may have the address of the one before).
    struct ShowCounter : QObject {
        int count = 0;
        bool eventFilter(QObject* watched, QEvent* event) override {
            count += event->type() == QEvent::Show && qobject_cast<CTarnDialogProgress*>(watched);
            return false;
        }
    } jobsShown_;
    int jobSeen_ = 0;
    const bool trace_ = environmentNumber("VELKORONDRIX_RANDOM_USE_TRACE", 0) != 0;  // each event printed
    bool failed_ = false;
    std::string memory_;
    std::string action_;
    std::chrono::steady_clock::time_point deadline_;
    std::atomic<std::chrono::steady_clock::time_point> lastProgress_;
#ifdef VELKORONDRIX_RANDOM_USE_X11
    std::unique_ptr<XvfbServer> server_;
    Display* grabChecker_ = nullptr;
#endif
};

TEST_F(RandomUseTest, EveryWindowSurvivesRandomUseAndNoWorkGoesUnasked) {
    run();
}

}  // namespace
