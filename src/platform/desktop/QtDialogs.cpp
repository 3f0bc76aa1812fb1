#include "QtDialogs.h"

#include "FontChoiceDialog.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace {

QMessageBox::Icon toQt(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Critical:
        return QMessageBox::Critical;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    case Dialogs::Icon::Exclamation:
        return QMessageBox::Warning;
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    case Dialogs::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(Dialogs::Buttons buttons)
{
    switch (buttons) {
    case Dialogs::Buttons::Ok:
        return QMessageBox::Ok;
    case Dialogs::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Dialogs::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Dialogs::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Dialogs::Buttons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton toQt(Dialogs::Answer answer)
{
    switch (answer) {
    case Dialogs::Answer::Ok:
        return QMessageBox::Ok;
    case Dialogs::Answer::Cancel:
        return QMessageBox::Cancel;
    case Dialogs::Answer::Yes:
        return QMessageBox::Yes;
    case Dialogs::Answer::No:
        return QMessageBox::No;
    case Dialogs::Answer::Retry:
        return QMessageBox::Retry;
    }
    return QMessageBox::Ok;
}

Dialogs::Answer fromQt(int button)
{
    switch (button) {
    case QMessageBox::Yes:
        return Dialogs::Answer::Yes;
    case QMessageBox::No:
        return Dialogs::Answer::No;
    case QMessageBox::Retry:
        return Dialogs::Answer::Retry;
    case QMessageBox::Ok:
        return Dialogs::Answer::Ok;
    default:
        return Dialogs::Answer::Cancel;
    }
}

// "*.jpg" -> "jpg"; nothing for "*.*" or an empty pattern.
QString suffixOf(const QString &pattern)
{
    const QString suffix = pattern.section(QLatin1Char('.'), -1);
    if (!pattern.contains(QLatin1Char('.')) || suffix.isEmpty() || suffix.contains(QLatin1Char('*')))
        return QString();
    return suffix;
}

// `path` with the request's extension where the request wants it always and the dialog shows
// the files of its pattern.
QString extended(const QString &path, const QFileDialog &dialog, const Dialogs::FileRequest &request)
{
    const QString suffix = QLatin1Char('.') + suffixOf(request.defaultPattern);
    if (!request.patternAlways || suffix.size() < 2 || !dialog.selectedNameFilter().contains(request.defaultPattern)
        || path.endsWith(suffix, Qt::CaseInsensitive) || path.endsWith(QLatin1Char('/')))
        return path;
    return path + suffix;
}

// Adds the extension before the dialog accepts the name, so that its question about a file
// that exists already names the file that will be written.
class ExtendingFileDialog final : public QFileDialog
{
public:
    ExtendingFileDialog(QWidget *parent, const Dialogs::FileRequest &request) : QFileDialog(parent), m_request(request)
    {
    }

    void accept() override
    {
        const QStringList files = selectedFiles();
        if (files.size() == 1 && !QFileInfo(files.first()).isDir()) {
            const QString name = extended(files.first(), *this, m_request);
            if (name != files.first()) {
                // The name box keeps what is typed into it while it has the focus.
                if (QWidget *typing = focusWidget())
                    typing->clearFocus();
                selectFile(QFileInfo(name).fileName());
            }
        }
        QFileDialog::accept();
    }

private:
    Dialogs::FileRequest m_request;
};

void prepare(QFileDialog &dialog, const Dialogs::FileRequest &request)
{
    dialog.setNameFilters(qtNameFilters(request.filter).split(QStringLiteral(";;"), Qt::SkipEmptyParts));
    dialog.selectNameFilter(firstNameFilter(request.filter));
    dialog.setDefaultSuffix(suffixOf(request.defaultPattern));
    // A start "folder" may name the file chosen last time: the dialog opens beside it.
    const QFileInfo start(request.startFolder);
    if (!request.startFolder.isEmpty() && start.isFile()) {
        dialog.setDirectory(start.absolutePath());
        dialog.selectFile(start.fileName());
    } else if (!request.startFolder.isEmpty()) {
        dialog.setDirectory(request.startFolder);
    }
    if (!request.suggestedName.isEmpty())
        dialog.selectFile(request.suggestedName);
}

// The file dialog over `parent`, run modally: the chosen path, or nothing when cancelled.
std::optional<QString> chooseFile(QWidget *parent, const Dialogs::FileRequest &request, QFileDialog::AcceptMode mode,
                                  QFileDialog::FileMode files)
{
    ExtendingFileDialog dialog(parent, request);
    prepare(dialog, request);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(files);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst();
    // A dialog of the system's own accepts without asking this class.
    return QDir::toNativeSeparators(mode == QFileDialog::AcceptSave ? extended(chosen, dialog, request) : chosen);
}

} // namespace

QtDialogs::QtDialogs(QWidget *parent) : m_parent(parent) {}

void QtDialogs::setParentWidget(QWidget *parent)
{
    m_parent = parent;
}

QWidget *QtDialogs::parentFor(QWidget *owner) const
{
    return owner ? owner : m_parent.data();
}

Dialogs::Answer QtDialogs::message(const Message &message, QWidget *owner)
{
    QMessageBox box(toQt(message.icon), message.caption.isEmpty() ? programTitle() : message.caption, message.text,
                    toQt(message.buttons), parentFor(owner));
    box.setDefaultButton(toQt(message.defaultButton));
    return fromQt(box.exec());
}

std::optional<QString> QtDialogs::openFile(const FileRequest &request, QWidget *owner)
{
    return chooseFile(parentFor(owner), request, QFileDialog::AcceptOpen, QFileDialog::ExistingFile);
}

std::optional<QString> QtDialogs::saveFile(const FileRequest &request, QWidget *owner)
{
    return chooseFile(parentFor(owner), request, QFileDialog::AcceptSave, QFileDialog::AnyFile);
}

QColor QtDialogs::chooseColour(const QColor &initial, QWidget *owner)
{
    const QColor chosen = QColorDialog::getColor(initial, parentFor(owner));
    return chosen.isValid() ? chosen : initial;
}

Dialogs::FontChoice QtDialogs::chooseFont(const FontChoice &initial, int minSize, int maxSize, QWidget *owner)
{
    FontChoiceDialog dialog(initial, minSize, maxSize, parentFor(owner));
    if (dialog.exec() != QDialog::Accepted || !dialog.isAcceptable())
        return initial;
    return dialog.choice();
}

std::optional<QString> QtDialogs::choosePrinter(QPrinter &printer, QWidget *owner)
{
    QPrintDialog dialog(&printer, parentFor(owner));
    // One page, printed whole: no ranges, no selection.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    if (printer.outputFormat() == QPrinter::PdfFormat || !printer.outputFileName().isEmpty())
        return QString();
    return printer.printerName();
}
