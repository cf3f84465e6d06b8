// The common dialogs on Qt Widgets: each is shown window-modal over its owner's desktop window and waits
// in the program's own message loop, so that the program's windows keep painting and its timers run.
#include "platform/backend/commondialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QColorDialog>
#include <QCompleter>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cmath>

#include "platform/backend/printers.h"

namespace backend {

namespace {

QString ToQ(const std::u16string& text) {
    return QString::fromStdU16String(text);
}
std::u16string FromQ(const QString& text) {
    return text.toStdU16String();
}

QColor ToQColor(std::uint32_t color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}
std::uint32_t FromQColor(const QColor& color) {
    return static_cast<std::uint32_t>(color.red()) | (static_cast<std::uint32_t>(color.green()) << 8) |
           (static_cast<std::uint32_t>(color.blue()) << 16);
}

// Widgets exist only under a QApplication, and only on its thread.
bool CanShowDialogs() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) &&
           QThread::currentThread() == QCoreApplication::instance()->thread();
}

// The desktop window that shows a top-level window of ours; windowing.cpp names each with this property.
QWindow* HostWindowOf(std::uintptr_t owner) {
    if (!owner)
        return nullptr;
    for (QWindow* window : QGuiApplication::topLevelWindows())
        if (window->property("zelmorWindow").value<quintptr>() == owner)
            return window;
    return nullptr;
}

// Ties the dialog's desktop window to its owner's, so that the desktop keeps it above the owner; the
// dialog also blocks the owner's input.
void TieToOwner(QDialog& dialog, QWindow* parent) {
    dialog.winId(); // makes the dialog's desktop window, which can then be tied to its parent
    if (QWindow* own = dialog.windowHandle(); own && own->transientParent() != parent)
        own->setTransientParent(parent);
}

// Shows the dialog centred on its owner and serves the program's loop until the dialog is answered.
// Without an owner the dialog blocks none of the program's windows, as the program's own modal windows do.
bool Run(QDialog& dialog, std::uintptr_t owner, const DialogLoop& loop) {
    dialog.setWindowModality(Qt::WindowModal);
    QWindow* parent = HostWindowOf(owner);
    if (parent) {
        TieToOwner(dialog, parent);
        dialog.adjustSize();
        QRect frame = dialog.frameGeometry();
        frame.moveCenter(parent->geometry().center());
        dialog.move(frame.topLeft());
    }
    if (!loop.serve)
        return dialog.exec() == QDialog::Accepted;
    bool finished = false;
    QObject::connect(&dialog, &QDialog::finished, &dialog, [&finished, &loop](int) {
        finished = true;
        if (loop.wake)
            loop.wake();
    });
    dialog.show();
    // Showing a dialog without a parent widget may choose a transient parent of its own.
    if (parent)
        TieToOwner(dialog, parent);
    while (!finished) {
        if (!loop.serve()) {
            dialog.reject();
            return false;
        }
    }
    return dialog.result() == QDialog::Accepted;
}

bool IsWildcardAll(const QString& pattern) {
    return pattern == QLatin1String("*.*");
}

} // namespace

std::u16string FileDialogNameFilter(const FileDialogFilter& filter) {
    QStringList patterns;
    for (const QString& pattern : ToQ(filter.patterns).split(u';', Qt::SkipEmptyParts)) {
        QString trimmed = pattern.trimmed();
        if (!trimmed.isEmpty())
            patterns.push_back(IsWildcardAll(trimmed) ? QStringLiteral("*") : trimmed);
    }
    if (patterns.isEmpty())
        patterns.push_back(QStringLiteral("*"));
    QString description = ToQ(filter.description).trimmed();
    if (description.isEmpty())
        description = patterns.join(u' ');
    // The dialog reads the patterns from the last parenthesis and, with the details hidden, shows the
    // description exactly as the program gave it.
    return FromQ(description + QStringLiteral(" (") + patterns.join(u' ') + u')');
}

bool RunFileDialog(FileDialogOptions& options, const DialogLoop& loop) {
    if (!CanShowDialogs())
        return false;
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(options.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (options.save)
        dialog.setFileMode(QFileDialog::AnyFile);
    else if (options.multiSelect)
        dialog.setFileMode(QFileDialog::ExistingFiles);
    else
        dialog.setFileMode(options.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.save || !options.overwritePrompt);
    dialog.setWindowTitle(options.title.empty() ? QString::fromUtf16(options.save ? u"Save As" : u"Open")
                                                : ToQ(options.title));

    // A name that carries a folder starts there (relative to the initial folder); otherwise the initial
    // folder, or the current one.
    QString folder = options.initialDir.empty() ? QDir::currentPath() : ToQ(options.initialDir);
    QString name = ToQ(options.fileName);
    if (name.contains(u'/')) {
        QFileInfo info(QDir(folder), name);
        folder = info.absolutePath();
        name = info.fileName();
    }
    dialog.setDirectory(folder);
    if (!name.isEmpty())
        dialog.selectFile(name);

    QString suffix = ToQ(options.defaultExt);
    while (suffix.startsWith(u'.'))
        suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);

    QStringList nameFilters;
    for (const FileDialogFilter& filter : options.filters)
        nameFilters.push_back(ToQ(FileDialogNameFilter(filter)));
    if (!nameFilters.isEmpty()) {
        dialog.setNameFilters(nameFilters);
        std::size_t index = std::min(options.filterIndex, options.filters.size() - 1);
        dialog.selectNameFilter(nameFilters.value(static_cast<qsizetype>(index)));
    }

    if (!Run(dialog, options.owner, loop))
        return false;
    options.files.clear();
    for (const QString& file : dialog.selectedFiles())
        options.files.push_back(FromQ(QDir::cleanPath(file)));
    // Two filters may read the same; the first of them is the answer.
    qsizetype chosen = nameFilters.indexOf(dialog.selectedNameFilter());
    if (chosen >= 0)
        options.filterIndex = static_cast<std::size_t>(chosen);
    return !options.files.empty();
}

bool RunFolderDialog(FolderDialogOptions& options, const DialogLoop& loop) {
    if (!CanShowDialogs())
        return false;
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (!options.title.empty())
        dialog.setWindowTitle(ToQ(options.title));
    // FIXME: the dialog cannot keep the user inside root; it only starts there.
    std::u16string start = !options.directory.empty() ? options.directory : options.root;
    dialog.setDirectory(start.empty() ? QDir::currentPath() : ToQ(start));
    if (!Run(dialog, options.owner, loop))
        return false;
    QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return false;
    options.directory = FromQ(QDir::cleanPath(chosen.front()));
    return true;
}

bool RunColorDialog(ColorDialogOptions& options, const DialogLoop& loop) {
    if (!CanShowDialogs())
        return false;
    // The dialog keeps one set of custom colours for the whole program: each request brings its own, and
    // the slots it leaves out are white, as a fresh set is.
    int customCount = QColorDialog::customCount();
    for (int i = 0; i < customCount; ++i)
        QColorDialog::setCustomColor(i, static_cast<std::size_t>(i) < options.customColors.size()
                                            ? ToQColor(options.customColors[static_cast<std::size_t>(i)])
                                            : QColor(Qt::white));
    QColorDialog dialog;
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.setCurrentColor(ToQColor(options.color));
    if (!Run(dialog, options.owner, loop))
        return false;
    options.customColors.resize(
        std::max<std::size_t>(options.customColors.size(), static_cast<std::size_t>(customCount)));
    for (int i = 0; i < customCount; ++i)
        options.customColors[static_cast<std::size_t>(i)] = FromQColor(QColorDialog::customColor(i));
    options.color = FromQColor(dialog.selectedColor());
    return true;
}

bool RunFontDialog(FontDialogOptions& options, const DialogLoop& loop) {
    if (!CanShowDialogs())
        return false;
    QFont font(ToQ(options.name));
    if (options.size > 0)
        font.setPointSize(options.size);
    font.setBold(options.bold);
    font.setItalic(options.italic);
    font.setUnderline(options.underline);
    font.setStrikeOut(options.strikeOut);
    QFontDialog dialog;
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    dialog.setCurrentFont(font);
    if (!Run(dialog, options.owner, loop))
        return false;
    QFont chosen = dialog.selectedFont();
    options.name = FromQ(chosen.family());
    if (chosen.pointSizeF() > 0)
        options.size = static_cast<int>(std::lround(chosen.pointSizeF()));
    options.bold = chosen.bold();
    options.italic = chosen.italic();
    options.underline = chosen.underline();
    options.strikeOut = chosen.strikeOut();
    return true;
}

bool RunPrintDialog(PrintDialogOptions& options, const DialogLoop& loop) {
    if (!CanShowDialogs())
        return false;
    // The dialog reads the printer's settings when it is made.
    QPrinter printer;
    // The PDF printer is the dialog's own printing to a PDF file, where the user also picks the file.
    const std::u16string pdf = FromQ(QString::fromLatin1(printers::PdfPrinterName));
    if (options.printer < options.printers.size() && options.printers[options.printer] == pdf) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        if (!options.outputFile.empty())
            printer.setOutputFileName(ToQ(options.outputFile));
    } else if (options.printer < options.printers.size()) {
        printer.setPrinterName(ToQ(options.printers[options.printer]));
    }
    bool range = !options.setup && options.fromPage > 0 && options.toPage >= options.fromPage;
    if (!options.setup) {
        printer.setCopyCount(std::max(options.copies, 1));
        printer.setCollateCopies(options.collate);
        if (range) {
            printer.setPrintRange(QPrinter::PageRange);
            printer.setFromTo(options.fromPage, options.toPage);
        }
    }
    QPrintDialog dialog(&printer);
    if (options.setup) {
        dialog.setWindowTitle(QStringLiteral("Print Setup"));
        dialog.setOptions(QAbstractPrintDialog::PrintDialogOptions());
    } else {
        dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintCollateCopies);
        if (options.maxPage > 0)
            dialog.setMinMax(std::max(options.minPage, 1), options.maxPage);
        if (range)
            dialog.setPrintRange(QAbstractPrintDialog::PageRange);
    }
    if (!Run(dialog, options.owner, loop))
        return false;
    // A printer the program does not list (the desktop may offer printing to a file) leaves the choice
    // of printer as it was.
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    auto it = std::find(options.printers.begin(), options.printers.end(),
                        toFile ? pdf : FromQ(printer.printerName()));
    if (it != options.printers.end())
        options.printer = static_cast<std::size_t>(it - options.printers.begin());
    if (toFile && !printer.outputFileName().isEmpty())
        options.outputFile = FromQ(printer.outputFileName());
    if (!options.setup) {
        options.copies = printer.copyCount();
        options.collate = printer.collateCopies();
        bool chosenRange = dialog.printRange() == QAbstractPrintDialog::PageRange;
        options.fromPage = chosenRange ? printer.fromPage() : 0;
        options.toPage = chosenRange ? printer.toPage() : 0;
    }
    return true;
}

namespace {

QDialog* OpenDialog() {
    if (!CanShowDialogs())
        return nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible())
            return dialog;
    return nullptr;
}

void SendKey(QWidget* target, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &release);
}

void TypeInto(QFileDialog* dialog, QLineEdit* edit, const std::u16string& text) {
    // The user works in the dialog: it is the active window and the field has the focus, which the
    // dialog's selection follows.
    QApplication::setActiveWindow(dialog);
    edit->setFocus(Qt::OtherFocusReason);
    edit->clear();
    // While the completion list is open it takes the keys, as it does when the user types; it passes
    // them on to the field.
    auto target = [edit]() -> QWidget* {
        QCompleter* completer = edit->completer();
        if (completer && completer->popup() && completer->popup()->isVisible())
            return completer->popup();
        return edit;
    };
    for (QChar c : ToQ(text)) {
        int key = c.isLetter() ? c.toUpper().unicode() : c.unicode();
        SendKey(target(), key, QString(c));
    }
    // Enter in the completion list would only take the completion: the user closes the list first.
    if (QWidget* list = target(); list != edit)
        list->hide();
    SendKey(edit, Qt::Key_Return, QStringLiteral("\r"));
}

} // namespace

bool TypeIntoFileDialog(const std::u16string& text, InputTiming timing) {
    auto* dialog = qobject_cast<QFileDialog*>(OpenDialog());
    if (!dialog)
        return false;
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!edit)
        return false;
    if (timing == InputTiming::Now)
        TypeInto(dialog, edit, text);
    else
        QTimer::singleShot(0, edit, [dialog = QPointer<QFileDialog>(dialog), edit, text] {
            if (dialog)
                TypeInto(dialog, edit, text);
        });
    return true;
}

bool FinishOpenDialog(bool accept) {
    QDialog* dialog = OpenDialog();
    if (!dialog)
        return false;
    if (accept)
        dialog->accept();
    else
        dialog->reject();
    return true;
}

} // namespace backend
