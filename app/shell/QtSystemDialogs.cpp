// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "shell/QtSystemDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QMenu>
#include <QMessageBox>
#include <QStringList>
#include <QStyleFactory>

#include "shell/SkinColours.h"

#include "shell/QtTranslation.h"

namespace {

// What a title bar needs beside its text: the window icon and the buttons.
constexpr int kTitleBarRoom = 160;

QString captionOrName(const std::wstring& caption) {
    return QString::fromStdWString(caption.empty() ? std::wstring(SystemDialogs::kProgramName) : caption);
}

void addItems(QMenu& menu, const std::vector<SystemDialogs::MenuItem>& items) {
    for (const auto& item : items) {
        const QString text = QString::fromStdWString(item.text);
        if (item.children.empty()) {
            menu.addAction(text)->setData(item.command);
        } else {
            QMenu* sub = menu.addMenu(text);
            // A pop-up is a window of its own: it inherits no palette.
            sub->setPalette(menu.palette());
            addItems(*sub, item.children);
        }
    }
}

}  // namespace

void QtSystemDialogs::useSkinStyle() {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
}

QPalette QtSystemDialogs::skinPalette() {
    QPalette palette;
    const auto set = [&palette](QPalette::ColorRole role, layout::Rgb colour) {
        palette.setColor(role, QColor(colour.r, colour.g, colour.b));
    };
    set(QPalette::Window, skin::bodyTop);
    set(QPalette::WindowText, skin::legendText);
    set(QPalette::Base, skin::wellFill);
    set(QPalette::AlternateBase, skin::titleBottom);
    set(QPalette::Text, skin::legendText);
    set(QPalette::PlaceholderText, skin::mutedText);
    set(QPalette::Button, skin::titleTop);
    set(QPalette::ButtonText, skin::legendText);
    set(QPalette::BrightText, skin::accentLight);
    set(QPalette::Highlight, skin::accent);
    set(QPalette::HighlightedText, skin::bodyBottom);
    set(QPalette::Link, skin::accentLight);
    set(QPalette::LinkVisited, skin::accent);
    set(QPalette::ToolTipBase, skin::titleTop);
    set(QPalette::ToolTipText, skin::legendText);
    // Fusion's bevels and frames.
    set(QPalette::Light, skin::edgeLight);
    set(QPalette::Midlight, skin::outline);
    set(QPalette::Mid, skin::plateRim);
    set(QPalette::Dark, skin::separator);
    palette.setColor(QPalette::Shadow, Qt::black);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(skin::mutedText.r, skin::mutedText.g, skin::mutedText.b));
    return palette;
}

std::unique_ptr<QMessageBox> QtSystemDialogs::makeMessageBox(QWidget* parent, const std::wstring& text,
                                                             Buttons buttons, Icon icon, const std::wstring& caption) {
    auto box = std::make_unique<QMessageBox>(parent);
    box->setPalette(skinPalette());
    box->setWindowTitle(captionOrName(caption));
    box->setText(QString::fromStdWString(text).remove(QLatin1Char('\r')));
    switch (icon) {
    case Icon::None: box->setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box->setIcon(QMessageBox::Information); break;
    case Icon::Exclamation: box->setIcon(QMessageBox::Warning); break;
    case Icon::Error: box->setIcon(QMessageBox::Critical); break;
    case Icon::Question: box->setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
    case Buttons::Ok: box->setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo: box->setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::YesNoCancel:
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case Buttons::SaveDiscardCancel:
        box->setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        break;
    case Buttons::SaveDiscard: box->setStandardButtons(QMessageBox::Save | QMessageBox::Discard); break;
    }
    // Qt names Discard after the desktop ("Close without Saving", "Discard")
    // and its Chinese catalogue lacks "Don't Save": the question always
    // offers "Don't Save" in the language shown.
    if (QAbstractButton* discard = box->button(QMessageBox::Discard))
        discard->setText(QtTranslation::isChinese() ? QStringLiteral("不保存") : QStringLiteral("Don't Save"));
    // A box sized to a short text ("OK!") leaves the window manager room for
    // only "V…" of the title: a row as wide as the title, its icon and the
    // title bar's buttons keeps it whole. QMessageBox ignores minimum widths.
    const int titleWidth = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(box->windowTitle());
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout()))
        grid->addItem(new QSpacerItem(titleWidth * 3 / 2 + kTitleBarRoom, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    return box;
}

SystemDialogs::Answer QtSystemDialogs::messageBox(QWidget* parent, const std::wstring& text, Buttons buttons,
                                                  Icon icon, const std::wstring& caption) {
    const std::unique_ptr<QMessageBox> box = makeMessageBox(parent, text, buttons, icon, caption);
    switch (box->exec()) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Save: return Answer::Save;
    case QMessageBox::Discard: return Answer::Discard;
    default: return closedAnswer(buttons);
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

std::unique_ptr<QFileDialog> QtSystemDialogs::makeFileDialog(QWidget* parent, const FileRequest& request, bool save) {
    auto dialog = std::make_unique<QFileDialog>(parent);
    // The desktop's native dialog would not wear the skin.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setPalette(skinPalette());
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.filter.empty())
        dialog->setNameFilter(qtFilter(request.filter));
    if (!request.defaultExtension.empty())
        dialog->setDefaultSuffix(QString::fromStdWString(request.defaultExtension));
    if (!request.initialName.empty())
        dialog->selectFile(QString::fromStdWString(request.initialName));
    // Qt's dialogs have no read-only box to hide; only the overwrite question
    // needs switching.
    dialog->setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    return dialog;
}

std::optional<std::wstring> QtSystemDialogs::fileName(QWidget* parent, const FileRequest& request, bool save) {
    const std::unique_ptr<QFileDialog> dialog = makeFileDialog(parent, request, save);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return dialog->selectedFiles().constFirst().toStdWString();
}

std::optional<std::wstring> QtSystemDialogs::openFileName(QWidget* parent, const FileRequest& request) {
    return fileName(parent, request, false);
}

std::optional<std::wstring> QtSystemDialogs::saveFileName(QWidget* parent, const FileRequest& request) {
    return fileName(parent, request, true);
}

std::unique_ptr<QColorDialog> QtSystemDialogs::makeColorDialog(QWidget* parent, QColor initial) {
    auto dialog = std::make_unique<QColorDialog>(initial, parent);
    dialog->setOption(QColorDialog::DontUseNativeDialog);
    dialog->setPalette(skinPalette());
    dialog->setWindowTitle(QString::fromStdWString(kProgramName));
    return dialog;
}

std::optional<QColor> QtSystemDialogs::chooseColor(QWidget* parent, QColor initial) {
    const std::unique_ptr<QColorDialog> dialog = makeColorDialog(parent, initial);
    if (dialog->exec() != QDialog::Accepted || !dialog->selectedColor().isValid())
        return std::nullopt;
    return dialog->selectedColor();
}

std::unique_ptr<QMenu> QtSystemDialogs::makeMenu(QWidget* parent, const std::vector<MenuItem>& items) {
    auto menu = std::make_unique<QMenu>(parent);
    menu->setPalette(skinPalette());
    addItems(*menu, items);
    return menu;
}

int QtSystemDialogs::popupMenu(QWidget* parent, QPoint globalPos, const std::vector<MenuItem>& items) {
    const std::unique_ptr<QMenu> menu = makeMenu(parent, items);
    const QAction* chosen = menu->exec(globalPos);
    return chosen ? chosen->data().toInt() : 0;
}
