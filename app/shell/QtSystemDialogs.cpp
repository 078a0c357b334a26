// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "shell/QtSystemDialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QStringList>

namespace {

QString captionOrName(const std::wstring& caption) {
    return QString::fromStdWString(caption.empty() ? std::wstring(SystemDialogs::kProgramName) : caption);
}

void addItems(QMenu& menu, const std::vector<SystemDialogs::MenuItem>& items) {
    for (const auto& item : items) {
        const QString text = QString::fromStdWString(item.text);
        if (item.children.empty()) {
            menu.addAction(text)->setData(item.command);
        } else {
            addItems(*menu.addMenu(text), item.children);
        }
    }
}

}  // namespace

SystemDialogs::Answer QtSystemDialogs::messageBox(QWidget* parent, const std::wstring& text, Buttons buttons,
                                                  Icon icon, const std::wstring& caption) {
    QMessageBox box(parent);
    box.setWindowTitle(captionOrName(caption));
    box.setText(QString::fromStdWString(text).remove(QLatin1Char('\r')));
    switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Icon::Error: box.setIcon(QMessageBox::Critical); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
}

QString QtSystemDialogs::qtFilter(const std::wstring& filter) {
    const QStringList parts = QString::fromStdWString(filter).split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        if (description.isEmpty())
            break;  // the "||" that ends the list
        const QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the parenthesis at the end of an entry.
        entries << (description.endsWith(QLatin1Char(')'))
                        ? description
                        : QStringLiteral("%1 (%2)").arg(description, patterns));
    }
    return entries.join(QStringLiteral(";;"));
}

std::optional<std::wstring> QtSystemDialogs::fileName(QWidget* parent, const FileRequest& request, bool save) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.filter.empty())
        dialog.setNameFilter(qtFilter(request.filter));
    if (!request.defaultExtension.empty())
        dialog.setDefaultSuffix(QString::fromStdWString(request.defaultExtension));
    if (!request.initialName.empty())
        dialog.selectFile(QString::fromStdWString(request.initialName));
    // Qt's dialogs have no read-only box to hide; only the overwrite question
    // needs switching.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst().toStdWString();
}

std::optional<std::wstring> QtSystemDialogs::openFileName(QWidget* parent, const FileRequest& request) {
    return fileName(parent, request, false);
}

std::optional<std::wstring> QtSystemDialogs::saveFileName(QWidget* parent, const FileRequest& request) {
    return fileName(parent, request, true);
}

std::optional<QColor> QtSystemDialogs::chooseColor(QWidget* parent, QColor initial) {
    const QColor chosen = QColorDialog::getColor(initial, parent, QString::fromStdWString(kProgramName));
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

int QtSystemDialogs::popupMenu(QWidget* parent, QPoint globalPos, const std::vector<MenuItem>& items) {
    QMenu menu(parent);
    addItems(menu, items);
    const QAction* chosen = menu.exec(globalPos);
    return chosen ? chosen->data().toInt() : 0;
}
