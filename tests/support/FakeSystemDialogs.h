// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// SystemDialogs for tests: records every request and answers from queues the
// test fills beforehand. A request with no queued answer is counted in
// unanswered() and gets the answer of a user who just closes the dialog
// (OK for message boxes, cancel otherwise).
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "shell/SystemDialogs.h"

class FakeSystemDialogs : public SystemDialogs {
public:
    enum class Kind { MessageBox, OpenFile, SaveFile, Color, Menu };

    struct Request {
        Kind kind = Kind::MessageBox;
        QWidget* parent = nullptr;
        // message boxes
        std::wstring text;
        std::wstring caption;  // as shown: the program's name when none was given
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
        // file dialogs
        FileRequest file;
        // colour chooser
        QColor initialColor;
        // pop-up menus
        QPoint position;
        std::vector<MenuItem> menu;
    };

    // Answers, consumed in order per kind.
    void queueAnswer(Answer answer) { answers_.push_back(answer); }
    void queueOpenFile(std::optional<std::wstring> path) { openFiles_.push_back(std::move(path)); }
    void queueSaveFile(std::optional<std::wstring> path) { saveFiles_.push_back(std::move(path)); }
    void queueColor(std::optional<QColor> color) { colors_.push_back(color); }
    void queueMenuChoice(int command) { menuChoices_.push_back(command); }

    const std::vector<Request>& requests() const { return requests_; }
    std::vector<Request> requestsOf(Kind kind) const;
    // Texts of the message boxes shown so far, in order.
    std::vector<std::wstring> messages() const;
    int unanswered() const { return unanswered_; }
    bool allAnswersUsed() const;
    void clear();

    Answer messageBox(QWidget* parent, const std::wstring& text, Buttons buttons, Icon icon,
                      const std::wstring& caption) override;
    std::optional<std::wstring> openFileName(QWidget* parent, const FileRequest& request) override;
    std::optional<std::wstring> saveFileName(QWidget* parent, const FileRequest& request) override;
    std::optional<QColor> chooseColor(QWidget* parent, QColor initial) override;
    int popupMenu(QWidget* parent, QPoint globalPos, const std::vector<MenuItem>& items) override;

private:
    template <typename T>
    T take(std::deque<T>& queue, T fallback);

    std::vector<Request> requests_;
    std::deque<Answer> answers_;
    std::deque<std::optional<std::wstring>> openFiles_;
    std::deque<std::optional<std::wstring>> saveFiles_;
    std::deque<std::optional<QColor>> colors_;
    std::deque<int> menuChoices_;
    int unanswered_ = 0;
};
