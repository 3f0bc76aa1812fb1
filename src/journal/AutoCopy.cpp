#include "AutoCopy.h"

#include "JournalFile.h"
#include "RecordTable.h"
#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "platform/Cp1251.h"
#include "platform/Dialogs.h"
#include "platform/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

namespace {

namespace Text {
const QString folder = QStringLiteral("Копии журнала");
const QString list = QStringLiteral("Список копий.txt");
QString tooLarge(qint64 bytes, int limitMegabytes)
{
    return QStringLiteral("журнал (%1 МБ) больше, чем копиям отведено (%2 МБ)")
        .arg(QString::number((bytes + 1024 * 1024 - 1) / (1024 * 1024)), QString::number(limitMegabytes));
}
} // namespace Text

namespace Key {
const QString section = QStringLiteral("AutoCopy");
const QString days = QStringLiteral("Days");
const QString keep = QStringLiteral("Keep");
const QString maxMegabytes = QStringLiteral("MaxMB");
} // namespace Key

// Ten years of copies, a thousand of them, a terabyte: beyond any of these a stored number is no
// choice the operator made.
constexpr IntRange kDaysRange{0, 3650, IntRange::Outside::UseDefault};
constexpr IntRange kKeepRange{0, 1000, IntRange::Outside::UseDefault};
constexpr IntRange kMegabytesRange{1, 1024 * 1024, IntRange::Outside::UseDefault};

const QString kListTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm");
const QString kCrLf = QStringLiteral("\r\n");

// What CreateJournalFile writes: a journal that holds nothing the operator typed is not worth a
// copy (the first run of the program creates it just before the first save).
QByteArray createdJournal()
{
    return QByteArray("1") + QByteArray(RecordTable::kLastStoredField, '|') + QByteArray("\r\n");
}

// Newest first.
bool newer(const AutoCopy::StoredCopy &a, const AutoCopy::StoredCopy &b)
{
    return a.time != b.time ? a.time > b.time : a.modified > b.modified;
}

qint64 modifiedOf(const QFileInfo &file)
{
    return file.fileTime(QFileDevice::FileModificationTime).toMSecsSinceEpoch();
}

// A name the list may give: a file of the folder itself. A list edited by hand must not send
// the removal anywhere else.
bool isPlainName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && name != Text::list;
}

// One line a copy: "2025-12-08 14:05|<size>|<modified>|<name>", the name last. A list that is
// there but cannot be read gives the system's words in *unreadable.
std::vector<AutoCopy::StoredCopy> readList(const QString &folder, QString *unreadable)
{
    std::vector<AutoCopy::StoredCopy> copies;
    QFile file(QDir(folder).filePath(Text::list));
    if (!file.open(QIODevice::ReadOnly)) {
        if (file.exists() && unreadable)
            *unreadable = file.errorString();
        return copies;
    }
    QByteArray bytes;
    if (!readToEnd(file, bytes)) {
        if (unreadable)
            *unreadable = file.errorString();
        return copies;
    }
    const QStringList lines = Cp1251::decode(bytes).split(kCrLf, Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        AutoCopy::StoredCopy copy;
        bool sized = false;
        bool dated = false;
        copy.time = QDateTime::fromString(line.section(QLatin1Char('|'), 0, 0), kListTimeFormat);
        copy.size = line.section(QLatin1Char('|'), 1, 1).toLongLong(&sized);
        copy.modified = line.section(QLatin1Char('|'), 2, 2).toLongLong(&dated);
        copy.name = line.section(QLatin1Char('|'), 3);
        if (copy.time.isValid() && sized && dated && isPlainName(copy.name))
            copies.push_back(copy);
    }
    return copies;
}

bool writeList(const QString &folder, const std::vector<AutoCopy::StoredCopy> &copies, QString *error)
{
    QString text;
    for (const AutoCopy::StoredCopy &c : copies) {
        text += c.time.toString(kListTimeFormat) + QLatin1Char('|') + QString::number(c.size) + QLatin1Char('|')
            + QString::number(c.modified) + QLatin1Char('|') + c.name + kCrLf;
    }
    return writeFileAtomically(QDir(folder).filePath(Text::list), Cp1251::encode(text), error);
}

// Makes the folder; the system's words for a failure.
std::optional<QString> makeFolder(const QString &folder)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(QFile::encodeName(folder).toStdString()), error);
    if (!error)
        return std::nullopt;
    return qt_error_string(error.value());
}

// The first name of the minute that no file of the folder has: nothing is ever written over.
QString freeName(const QDir &folder, const QDateTime &now)
{
    for (int order = 1;; ++order) {
        const QString name = AutoCopy::copyName(now, order);
        if (!QFileInfo::exists(folder.filePath(name)))
            return name;
    }
}

} // namespace

AutoCopySettings AutoCopySettings::read(const SettingsStore &settings)
{
    const AutoCopySettings defaults;
    AutoCopySettings s;
    s.days = settings.intValue(Key::section, Key::days, defaults.days, kDaysRange);
    s.keep = settings.intValue(Key::section, Key::keep, defaults.keep, kKeepRange);
    s.maxMegabytes = settings.intValue(Key::section, Key::maxMegabytes, defaults.maxMegabytes, kMegabytesRange);
    return s;
}

QString autoCopyFailure(const QString &folder, const QString &reason)
{
    return QStringLiteral("Не удалось сохранить копию журнала в папке ") + QDir::toNativeSeparators(folder)
        + QStringLiteral(": ") + reason;
}

QString AutoCopy::folderName()
{
    return Text::folder;
}

QString AutoCopy::folderOf(const QString &journalPath)
{
    return QFileInfo(QDir::fromNativeSeparators(journalPath)).dir().filePath(Text::folder);
}

QString AutoCopy::copyName(const QDateTime &time, int order)
{
    const QString base = time.toString(QStringLiteral("yyyy-MM-dd HH'ч'mm'мин копия '")) + JournalFile::fileName();
    return order <= 1 ? base + QStringLiteral(".spb") : base + QStringLiteral(" (%1).spb").arg(order);
}

QString AutoCopy::listName()
{
    return Text::list;
}

std::vector<AutoCopy::StoredCopy> AutoCopy::ownCopies(const QString &folder, QString *unreadable)
{
    std::vector<StoredCopy> copies;
    const QDir dir(folder);
    for (const StoredCopy &listed : readList(folder, unreadable)) {
        const QFileInfo file(dir.filePath(listed.name));
        // Replaced or changed since (the operator saved a file of that name there): the
        // operator's now.
        if (file.isFile() && !file.isSymLink() && file.size() == listed.size && modifiedOf(file) == listed.modified)
            copies.push_back(listed);
    }
    return copies;
}

QStringList AutoCopy::expired(std::vector<StoredCopy> copies, const QDateTime &now, const AutoCopySettings &settings)
{
    std::sort(copies.begin(), copies.end(), newer);
    std::vector<bool> gone(copies.size(), false);
    const QDateTime oldestKept = now.addDays(-settings.days);
    qint64 total = 0;
    for (size_t i = 0; i < copies.size(); ++i) {
        gone[i] = i >= size_t(settings.keep) && copies[i].time < oldestKept;
        if (!gone[i])
            total += copies[i].size;
    }
    // The size limit holds whatever the count: the folder must not grow without end.
    for (size_t i = copies.size(); i-- > 0 && total > settings.maxBytes();) {
        if (!gone[i]) {
            gone[i] = true;
            total -= copies[i].size;
        }
    }
    QStringList names;
    for (size_t i = 0; i < copies.size(); ++i) {
        if (gone[i])
            names.append(copies[i].name);
    }
    return names;
}

void AutoCopy::start(Clock &clock, const AutoCopySettings &settings)
{
    m_clock = &clock;
    m_settings = settings;
}

bool AutoCopy::isOn() const
{
    return m_clock && m_settings.days > 0;
}

void AutoCopy::beforeSave(const QString &journalPath, Dialogs &dialogs)
{
    if (!isOn())
        return;
    // The clock is asked at every save: a run that goes on past midnight copies again at the
    // first save of the new day.
    const QDateTime now = m_clock->now();
    const QDate today = now.date();
    if (m_doneFor == today)
        return;
    // A copy made today by an earlier run counts: the program may be started many times a day.
    for (const StoredCopy &copy : ownCopies(folderOf(journalPath))) {
        if (copy.time.date() == today) {
            m_doneFor = today;
            return;
        }
    }
    // A copy that failed is tried again at the next save: a copy of a later state is better
    // than none.
    QString reason;
    const Outcome outcome = copy(journalPath, now, QString(), &reason);
    if (outcome != Outcome::Failed) {
        m_doneFor = today;
    } else if (!m_told) {
        m_told = true;
        dialogs.inform(autoCopyFailure(folderOf(journalPath), reason), programTitle(), Dialogs::Icon::Exclamation);
    }
}

bool AutoCopy::beforeRestore(const QString &journalPath, const QString &chosen, QString *reason)
{
    if (!isOn())
        return true;
    const QDateTime now = m_clock->now();
    const Outcome outcome = copy(journalPath, now, chosen, reason);
    if (outcome != Outcome::Failed)
        m_doneFor = now.date();
    return outcome != Outcome::Failed;
}

AutoCopy::Outcome AutoCopy::copy(const QString &journalPath, const QDateTime &now, const QString &spared,
                                 QString *reason)
{
    const QString folder = folderOf(journalPath);
    QFile journal(journalPath);
    // No journal on disk yet: nothing can be lost by the save that creates it. (Something else
    // in its place is the save's to report.)
    if (!QFileInfo(journalPath).isFile())
        return Outcome::NothingToCopy;
    const qint64 size = journal.size();
    if (size > m_settings.maxBytes()) {
        *reason = Text::tooLarge(size, m_settings.maxMegabytes);
        return Outcome::Failed;
    }
    if (size == createdJournal().size()) {
        if (!journal.open(QIODevice::ReadOnly)) {
            *reason = journal.errorString();
            return Outcome::Failed;
        }
        if (journal.readAll() == createdJournal())
            return Outcome::NothingToCopy;
        journal.close();
    }
    if (const std::optional<QString> failure = makeFolder(folder)) {
        *reason = *failure;
        return Outcome::Failed;
    }

    // The copy comes first and room is made only once it is whole and listed: a copy that
    // fails leaves every earlier one in place.
    // A list that cannot be read would be written anew without the copies it names, which
    // then would never be known as the program's again.
    QString unreadable;
    std::vector<StoredCopy> copies = ownCopies(folder, &unreadable);
    if (!unreadable.isEmpty()) {
        *reason = unreadable;
        return Outcome::Failed;
    }
    QDir dir(folder);
    const QString name = freeName(dir, now);
    if (!copyFileAtomically(journalPath, dir.filePath(name), reason))
        return Outcome::Failed;
    const QFileInfo made(dir.filePath(name));
    copies.push_back(
        {name, QDateTime(now.date(), QTime(now.time().hour(), now.time().minute())), made.size(), modifiedOf(made)});
    // A copy that cannot be listed would never be known as the program's: it goes again.
    if (!writeList(folder, copies, reason)) {
        dir.remove(name);
        return Outcome::Failed;
    }

    const QString sparedFile = spared.isEmpty() ? QString() : QFileInfo(spared).canonicalFilePath();
    const QStringList expiredNames = expired(copies, now, m_settings);
    const auto removed = [&](const StoredCopy &c) {
        const QString path = dir.filePath(c.name);
        return expiredNames.contains(c.name) && QFileInfo(path).canonicalFilePath() != sparedFile && dir.remove(c.name);
    };
    const auto kept = std::remove_if(copies.begin(), copies.end(), removed);
    if (kept == copies.end())
        return Outcome::Copied;
    copies.erase(kept, copies.end());
    // Should this fail, the list still names the removed copies: no file matches them now.
    writeList(folder, copies, nullptr);
    return Outcome::Copied;
}
