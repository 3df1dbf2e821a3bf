#include "QtPrompts.h"

#include "BgrColor.h"
#include "ChartFont.h"
#include "NameOnlyIconProvider.h"
#include "app/MessageFlags.h"
#include "frmProgressbar.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QPrintDialog>
#include <QProcess>
#include <QRegularExpression>
#include <QSpacerItem>
#include <QUrl>
#include <algorithm>

namespace {
// The first pattern's extension, added to a typed name that has none.
QString defaultSuffix(const QString& qtFilter) {
    static const QRegularExpression pattern(R"(\*\.(\w+))");
    const QRegularExpressionMatch match = pattern.match(qtFilter);
    return match.hasMatch() ? match.captured(1) : QString();
}
} // namespace

QtPrompts::MessageBoxLayout QtPrompts::messageBoxLayout(int flags) {
    MessageBoxLayout layout;
    switch (flags & MessageFlags::buttonMask) {
    case MessageFlags::OkCancel:
        layout.buttons = {QMessageBox::Ok, QMessageBox::Cancel};
        layout.escapeButton = QMessageBox::Cancel;
        break;
    case MessageFlags::AbortRetryIgnore:
        // Abort leaves the failing procedure: the safe answer when the user backs out.
        layout.buttons = {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore};
        layout.escapeButton = QMessageBox::Abort;
        break;
    case MessageFlags::YesNoCancel:
        layout.buttons = {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
        layout.escapeButton = QMessageBox::Cancel;
        break;
    case MessageFlags::YesNo:
        layout.buttons = {QMessageBox::Yes, QMessageBox::No};
        layout.escapeButton = QMessageBox::No;
        break;
    case MessageFlags::RetryCancel:
        layout.buttons = {QMessageBox::Retry, QMessageBox::Cancel};
        layout.escapeButton = QMessageBox::Cancel;
        break;
    default:
        layout.buttons = {QMessageBox::Ok};
        layout.escapeButton = QMessageBox::Ok;
        break;
    }
    switch (flags & MessageFlags::iconMask) {
    case MessageFlags::Critical:
        layout.icon = QMessageBox::Critical;
        break;
    case MessageFlags::Question:
        layout.icon = QMessageBox::Question;
        break;
    case MessageFlags::Exclamation:
        layout.icon = QMessageBox::Warning;
        break;
    case MessageFlags::Information:
        layout.icon = QMessageBox::Information;
        break;
    default:
        break;
    }
    const qsizetype index = (flags & MessageFlags::defaultMask) >> 8;
    layout.defaultButton = layout.buttons[std::min(index, layout.buttons.size() - 1)];
    return layout;
}

int QtPrompts::messageResult(QMessageBox::StandardButton button) {
    switch (button) {
    case QMessageBox::Cancel:
        return MessageResult::Cancel;
    case QMessageBox::Abort:
        return MessageResult::Abort;
    case QMessageBox::Retry:
        return MessageResult::Retry;
    case QMessageBox::Ignore:
        return MessageResult::Ignore;
    case QMessageBox::Yes:
        return MessageResult::Yes;
    case QMessageBox::No:
        return MessageResult::No;
    default:
        return MessageResult::Ok;
    }
}

QString QtPrompts::dialogFilter(const QString& filter) {
    if (!filter.contains('|'))
        return filter;
    // "description|patterns|description|patterns": Qt reads the patterns from the parentheses.
    static const QRegularExpression shownPatterns(R"(\s*\([^)]*\)\s*$)");
    const QStringList parts = filter.split('|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        description.remove(shownPatterns);
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        entries << QString("%1 (%2)").arg(description, patterns.simplified());
    }
    return entries.join(";;");
}

int QtPrompts::showMessage(const QString& text, int flags, const QString& title) {
    const MessageBoxLayout layout = messageBoxLayout(flags);
    QMessageBox box(layout.icon, title, text, QMessageBox::NoButton, QApplication::activeWindow());
    for (const QMessageBox::StandardButton button : layout.buttons)
        box.addButton(button);
    box.setDefaultButton(layout.defaultButton);
    box.setEscapeButton(layout.escapeButton);
    fitTitle(box);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    return messageResult(clicked ? box.standardButton(clicked) : layout.escapeButton);
}

std::optional<QString> QtPrompts::inputBox(const QString& prompt, const QString& title,
                                           const QString& defaultText) {
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue();
}

void QtPrompts::fitTitle(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    // The frame's buttons and icon take about this much beside the title.
    constexpr int frameRoom = 140;
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + frameRoom;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

void QtPrompts::prepareFileDialog(QFileDialog& dialog, QAbstractFileIconProvider& icons) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontUseCustomDirectoryIcons);
    dialog.setIconProvider(&icons);
}

QString QtPrompts::openFileName(const QString& title, const QString& filter, const QString& folder) {
    NameOnlyIconProvider icons;
    QFileDialog dialog(QApplication::activeWindow(), title, folder, dialogFilter(filter));
    prepareFileDialog(dialog, icons);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtPrompts::saveFileName(const QString& title, const QString& filter, const QString& suggestion) {
    NameOnlyIconProvider icons;
    QFileDialog dialog(QApplication::activeWindow(), title, suggestion, dialogFilter(filter));
    prepareFileDialog(dialog, icons);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix(dialog.nameFilters().value(0)));
    if (!suggestion.isEmpty())
        dialog.selectFile(suggestion);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

std::optional<quint32> QtPrompts::chooseColour(quint32 current) {
    const QColor colour = QColorDialog::getColor(BgrColor::toQColor(current), QApplication::activeWindow());
    if (!colour.isValid())
        return {};
    return BgrColor::fromQColor(colour);
}

std::optional<FontDescription> QtPrompts::chooseFont(const FontDescription& current) {
    bool accepted = false;
    const QFont font =
        QFontDialog::getFont(&accepted, ChartFont::toQFont(current), QApplication::activeWindow());
    if (!accepted)
        return {};
    return ChartFont::fromQFont(font);
}

bool QtPrompts::choosePrinter(QPrinter& printer) {
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    // The chart prints on one page.
    dialog.setMinMax(1, 1);
    return dialog.exec() == QDialog::Accepted;
}

std::unique_ptr<ProgressView> QtPrompts::createProgress() {
    auto window = std::make_unique<frmProgressbar>();
    window->showOver(QApplication::activeWindow());
    return window;
}

void QtPrompts::setBusy(bool busy) {
    if (busy) {
        ++m_busyDepth;
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (m_busyDepth > 0) {
        --m_busyDepth;
        QGuiApplication::restoreOverrideCursor();
    }
}

bool QtPrompts::openUrl(const QString& url) {
    return QDesktopServices::openUrl(QUrl(url, QUrl::TolerantMode));
}

void QtPrompts::setClipboardText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

bool QtPrompts::startDetached(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}
