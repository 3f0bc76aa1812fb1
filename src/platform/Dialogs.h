#pragma once

#include <QColor>
#include <QString>

#include <optional>

class QPrinter;
class QWidget;

// What the windows ask of the platform's common dialogs and message boxes. The program's own
// implementation shows real dialogs; tests answer from a script and record what was asked.
class Dialogs
{
public:
    enum class Icon { None, Critical, Question, Exclamation, Information };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
    enum class Answer { Ok, Cancel, Yes, No, Retry };

    struct Message
    {
        QString text;
        QString caption; // "Trelvax" where the program gives none
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        Answer defaultButton = Answer::Ok;
    };

    // A file dialog as the windows hand it over: a filter in pairs of description and pattern,
    // each followed by "|" ("Файлы (*.spb)|*.spb|Все файлы(*.*)|*.*|"), a start folder or a
    // suggested name, and a further pattern whose extension is added to a bare chosen name.
    struct FileRequest
    {
        QString filter;
        QString startFolder;
        QString suggestedName;
        QString defaultPattern;
        // The pattern's extension is added to any chosen name that does not end in it while
        // the pattern's filter is selected ("копия.0" -> "копия.0.spb"), not only to a bare one.
        bool patternAlways = false;
    };

    struct FontChoice
    {
        QString face;
        bool bold = false;
        bool italic = false;
        double size = 8.25;
        QColor colour = Qt::black;
        // The effects the dialog offers with the colour. Handed back, never drawn: a label's
        // letters are plain on the paper form.
        bool strikeout = false;
        bool underline = false;
    };

    virtual ~Dialogs() = default;

    // Every dialog appears over its owner, the window that asks; without one, over the
    // program's main window.
    virtual Answer message(const Message &message, QWidget *owner = nullptr) = 0;
    // The chosen full path, or nothing when the operator cancels.
    virtual std::optional<QString> openFile(const FileRequest &request, QWidget *owner = nullptr) = 0;
    virtual std::optional<QString> saveFile(const FileRequest &request, QWidget *owner = nullptr) = 0;
    // The colour when the dialog closes; after Cancel, the colour it was given.
    virtual QColor chooseColour(const QColor &initial, QWidget *owner = nullptr) = 0;
    // The font when the dialog closes, its size within minSize..maxSize; after Cancel, the
    // font it was given.
    virtual FontChoice chooseFont(const FontChoice &initial, int minSize, int maxSize, QWidget *owner = nullptr) = 0;
    // The print dialog over `printer`, which the operator may set up (printer, paper,
    // orientation, copies). The name of the printer chosen, empty when the output goes to a
    // file; nothing when the operator cancels. A platform without printers cancels.
    virtual std::optional<QString> choosePrinter(QPrinter &printer, QWidget *owner = nullptr);

    // A message box with one OK button.
    void inform(const QString &text, const QString &caption, Icon icon, QWidget *owner = nullptr)
    {
        message(Message{text, caption, icon, Buttons::Ok, Answer::Ok}, owner);
    }
};

// The caption of a message box that the program gives no title.
inline QString programTitle()
{
    return QStringLiteral("Trelvax");
}

// "Не удалось сохранить <what> в файл <path>", then the system's words for the failure, captioned
// "Ошибка сохранения": a file of the operator's that the program could not write.
Dialogs::Message fileNotSaved(const QString &what, const QString &path, const QString &reason);

// "Файлы (*.spb)|*.spb|Все файлы(*.*)|*.*|" as a Qt name filter list
// ("Файлы (*.spb);;Все файлы(*.*)"): a description that ends with its patterns is kept as
// given, any other gets them added in parentheses ("Рисунки|*.jpg|" -> "Рисунки (*.jpg)").
QString qtNameFilters(const QString &pairs);
// The first pattern of the filter ("*.spb"), selected when the dialog opens.
QString firstNameFilter(const QString &pairs);
