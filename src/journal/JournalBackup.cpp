#include "JournalBackup.h"

#include "AutoCopy.h"
#include "Journal.h"
#include "JournalFile.h"
#include "JournalLines.h"
#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "platform/ProgramExit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

namespace Text {
const QString filter = QStringLiteral("Файлы (*.spb)|*.spb|Все файлы(*.*)|*.*|");
QString confirm(const QString &path)
{
    return QStringLiteral("Вы действительно хотите безвозвратно заменить файл текущей базы файлом ") + path
        + QStringLiteral(" ?");
}
const QString confirmCaption = QStringLiteral("Подтвердите операцию");
const QString notFound = QStringLiteral("файл не найден!");
const QString accessDenied = QStringLiteral("Доступ к файлу закрыт!");
const QString copyCaption = QStringLiteral("Ошибка копирования");
const QString copyFailed = QStringLiteral("Ошибка копирования файла");
const QString restored = QStringLiteral("Сейчас программа закроется, запустите её заново");
const QString restoredCaption = QStringLiteral("Востановление произошло успешно");
const QString replaceWithoutCopy = QStringLiteral("Заменить журнал без копии?");
QString backupFailed(const QString &path)
{
    return QStringLiteral("Резервная копия не создана: не удалось записать файл ") + path
        + QStringLiteral(". Выберите другую папку или другое имя файла.");
}
} // namespace Text

// While its "*.spb" filter is selected, the backup dialog adds ".spb" to any name that does not
// end in it (the suggested name ends in ".0"), so that the restore dialog, which opens on
// "*.spb", shows the backup. The restore dialog adds nothing: it opens an existing file under
// its own name.
const QString kBackupPattern = QStringLiteral("*.spb");

// A file that could not be opened or replaced: refused access, or any other failure.
bool accessRefused(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists())
        return !info.isReadable() || !info.isWritable();
    return !QFileInfo(info.absolutePath()).isWritable();
}

} // namespace

namespace JournalBackup {

QString filter()
{
    return Text::filter;
}

QString suggestedName(const QDateTime &now)
{
    return now.toString(QStringLiteral("dd.MM.yyyy HH'ч'mm'мин' ")) + JournalFile::fileName();
}

void backUp(const Journal &journal, Platform &platform, QString &lastFolder)
{
    // Where the last backup went, never where another dialog of the run happened to be.
    const QString folder = lastFolder.isEmpty() ? platform.programFolder : lastFolder;
    Dialogs::FileRequest request{Text::filter, folder, suggestedName(platform.clock.now()), kBackupPattern};
    request.patternAlways = true;
    const std::optional<QString> path = platform.dialogs.saveFile(request);
    if (!path)
        return;
    if (!writeFileAtomically(*path, JournalFile::encodeRecords(journal.table, journal.RecordCount))) {
        platform.dialogs.inform(Text::backupFailed(QDir::toNativeSeparators(*path)), Text::copyCaption,
                                Dialogs::Icon::Critical);
        return;
    }
    lastFolder = QFileInfo(QDir::fromNativeSeparators(*path)).absolutePath();
}

bool restore(Platform &platform, AutoCopy &copies)
{
    Dialogs &dialogs = platform.dialogs;
    const QString target = platform.programFile(JournalFile::fileName());
    const QString copiesFolder = AutoCopy::folderOf(target);
    const QString startFolder = QFileInfo(copiesFolder).isDir() ? copiesFolder : QString();
    const std::optional<QString> chosen = dialogs.openFile({Text::filter, startFolder, QString(), QString()});
    if (!chosen)
        return false;
    const QString path = QDir::toNativeSeparators(*chosen);

    QFile file(*chosen);
    if (!file.exists()) {
        dialogs.inform(Text::notFound, Text::copyCaption, Dialogs::Icon::Exclamation);
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        if (file.error() == QFileDevice::PermissionsError || !QFileInfo(*chosen).isReadable())
            dialogs.inform(Text::accessDenied, Text::copyCaption, Dialogs::Icon::Exclamation);
        else
            dialogs.inform(Text::copyFailed, programTitle(), Dialogs::Icon::None);
        return false;
    }
    // What is checked is what is copied: the file is read once, and these very bytes replace
    // the journal.
    QByteArray bytes;
    const bool readFailed = !readToEnd(file, bytes);
    file.close();
    if (readFailed) {
        dialogs.inform(Text::copyFailed, programTitle(), Dialogs::Icon::None);
        return false;
    }

    if (bytes.isEmpty()) {
        dialogs.message(JournalFile::emptyFileMessage(path));
        return false;
    }
    const JournalScan scan = JournalLines::scanLines(bytes);
    if (scan.badLine) {
        dialogs.message(JournalFile::badLineMessage(scan.badLine, path));
        return false;
    }

    const Dialogs::Answer answer = dialogs.message({Text::confirm(path), Text::confirmCaption, Dialogs::Icon::Question,
                                                    Dialogs::Buttons::YesNo, Dialogs::Answer::No});
    if (answer != Dialogs::Answer::Yes)
        return false;

    // Whatever the operator picked, the journal it replaces can be had back from the copies.
    // Without that copy the operator decides again, every time: the question above was asked
    // of a replacement that could be undone.
    QString reason;
    if (!copies.beforeRestore(target, *chosen, &reason)) {
        const Dialogs::Answer withoutCopy = dialogs.message(
            {autoCopyFailure(copiesFolder, reason) + QLatin1Char('\n') + Text::replaceWithoutCopy, programTitle(),
             Dialogs::Icon::Question, Dialogs::Buttons::YesNo, Dialogs::Answer::No});
        if (withoutCopy != Dialogs::Answer::Yes)
            return false;
    }
    if (!writeFileAtomically(target, bytes)) {
        if (accessRefused(target))
            dialogs.inform(Text::accessDenied, Text::copyCaption, Dialogs::Icon::Exclamation);
        else
            dialogs.inform(Text::copyFailed, programTitle(), Dialogs::Icon::None);
        return false;
    }

    dialogs.inform(Text::restored, Text::restoredCaption, Dialogs::Icon::Information);
    platform.exit.end(0);
    return true;
}

} // namespace JournalBackup
