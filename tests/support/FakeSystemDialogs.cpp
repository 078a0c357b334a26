// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "support/FakeSystemDialogs.h"

template <typename T>
T FakeSystemDialogs::take(std::deque<T>& queue, T fallback) {
    if (queue.empty()) {
        ++unanswered_;
        return fallback;
    }
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

std::vector<FakeSystemDialogs::Request> FakeSystemDialogs::requestsOf(Kind kind) const {
    std::vector<Request> found;
    for (const Request& request : requests_)
        if (request.kind == kind)
            found.push_back(request);
    return found;
}

std::vector<std::wstring> FakeSystemDialogs::messages() const {
    std::vector<std::wstring> texts;
    for (const Request& request : requests_)
        if (request.kind == Kind::MessageBox)
            texts.push_back(request.text);
    return texts;
}

bool FakeSystemDialogs::allAnswersUsed() const {
    return answers_.empty() && openFiles_.empty() && saveFiles_.empty() && colors_.empty()
           && menuChoices_.empty();
}

void FakeSystemDialogs::clear() {
    requests_.clear();
    answers_.clear();
    openFiles_.clear();
    saveFiles_.clear();
    colors_.clear();
    menuChoices_.clear();
    unanswered_ = 0;
}

SystemDialogs::Answer FakeSystemDialogs::messageBox(QWidget* parent, const std::wstring& text, Buttons buttons,
                                                    Icon icon, const std::wstring& caption) {
    Request request;
    request.kind = Kind::MessageBox;
    request.parent = parent;
    request.text = text;
    request.caption = caption.empty() ? std::wstring(kProgramName) : caption;
    request.buttons = buttons;
    request.icon = icon;
    requests_.push_back(std::move(request));
    return take(answers_, closedAnswer(buttons));
}

std::optional<std::wstring> FakeSystemDialogs::openFileName(QWidget* parent, const FileRequest& file) {
    Request request;
    request.kind = Kind::OpenFile;
    request.parent = parent;
    request.file = file;
    requests_.push_back(std::move(request));
    return take(openFiles_, std::optional<std::wstring>());
}

std::optional<std::wstring> FakeSystemDialogs::saveFileName(QWidget* parent, const FileRequest& file) {
    Request request;
    request.kind = Kind::SaveFile;
    request.parent = parent;
    request.file = file;
    requests_.push_back(std::move(request));
    return take(saveFiles_, std::optional<std::wstring>());
}

std::optional<QColor> FakeSystemDialogs::chooseColor(QWidget* parent, QColor initial) {
    Request request;
    request.kind = Kind::Color;
    request.parent = parent;
    request.initialColor = initial;
    requests_.push_back(std::move(request));
    return take(colors_, std::optional<QColor>());
}

int FakeSystemDialogs::popupMenu(QWidget* parent, QPoint globalPos, const std::vector<MenuItem>& items) {
    Request request;
    request.kind = Kind::Menu;
    request.parent = parent;
    request.position = globalPos;
    request.menu = items;
    requests_.push_back(std::move(request));
    return take(menuChoices_, 0);
}
