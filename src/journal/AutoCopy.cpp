#include "AutoCopy.h"

#include "JournalBackup.h"
#include "JournalFile.h"
#include "RecordTable.h"
#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

namespace Text {
const QString folder = QStringLiteral("Копии журнала");
QString copyFailed(const QString &folder, const QString &reason)
{
    return QStringLiteral("Не удалось сохранить копию журнала в папке ") + folder + QStringLiteral(": ") + reason;
}
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

const QString kTimeFormat = QStringLiteral("dd.MM.yyyy HH'ч'mm'мин'");
const QString kExtension = QStringLiteral(".spb");

// What CreateJournalFile writes: a journal that holds nothing the operator typed is not worth a
// copy (the first run of the program creates it just before the first save).
QByteArray createdJournal()
{
    return QByteArray("1") + QByteArray(RecordTable::kLastStoredField, '|') + QByteArray("\r\n");
}

// Newest first; within one minute the higher order was made later.
bool newer(const AutoCopy::StoredCopy &a, const AutoCopy::StoredCopy &b)
{
    return a.time != b.time ? a.time > b.time : a.order > b.order;
}

std::vector<AutoCopy::StoredCopy> storedCopies(const QString &folder)
{
    std::vector<AutoCopy::StoredCopy> copies;
    const QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("*") + kExtension}, QDir::Files);
    for (const QFileInfo &file : files) {
        if (std::optional<AutoCopy::StoredCopy> copy = AutoCopy::parse(file.fileName())) {
            copy->size = file.size();
            copies.push_back(*copy);
        }
    }
    return copies;
}

void removeExpired(const QString &folder, const std::vector<AutoCopy::StoredCopy> &copies, const QDateTime &now,
                   const AutoCopySettings &settings, qint64 incoming)
{
    QDir dir(folder);
    for (const QString &name : AutoCopy::expired(copies, now, settings, incoming))
        dir.remove(name);
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
    const QString base = JournalBackup::suggestedName(time);
    return order <= 1 ? base + kExtension : base + QStringLiteral(" (%1)").arg(order) + kExtension;
}

std::optional<AutoCopy::StoredCopy> AutoCopy::parse(const QString &name)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d\\d\\.\\d\\d\\.\\d{4} \\d\\dч\\d\\dмин) ")
        + QRegularExpression::escape(JournalFile::fileName()) + QStringLiteral("(?: \\((\\d{1,6})\\))?")
        + QRegularExpression::escape(kExtension) + QStringLiteral("$"));
    const QRegularExpressionMatch match = pattern.match(name);
    if (!match.hasMatch())
        return std::nullopt;
    const QDateTime time = QDateTime::fromString(match.captured(1), kTimeFormat);
    if (!time.isValid())
        return std::nullopt;
    const int order = match.hasCaptured(2) ? match.captured(2).toInt() : 1;
    // "(1)" is no name this class gives: the first copy of a minute has none.
    if (order < 2 && match.hasCaptured(2))
        return std::nullopt;
    return StoredCopy{name, time, order, 0};
}

QStringList AutoCopy::expired(std::vector<StoredCopy> copies, const QDateTime &now,
                              const AutoCopySettings &settings, qint64 incoming)
{
    std::sort(copies.begin(), copies.end(), newer);
    std::vector<bool> gone(copies.size(), false);
    const QDateTime oldestKept = now.addDays(-settings.days);
    qint64 total = incoming;
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
    const QString folder = folderOf(journalPath);
    if (QFileInfo(folder).isDir()) {
        for (const StoredCopy &copy : storedCopies(folder)) {
            if (copy.time.date() == today) {
                m_doneFor = today;
                return;
            }
        }
    }
    // A copy that failed is tried again at the next save: a copy of a later state is better
    // than none.
    if (copy(journalPath, now, dialogs) != Outcome::Failed)
        m_doneFor = today;
}

void AutoCopy::beforeRestore(const QString &journalPath, Dialogs &dialogs)
{
    if (!isOn())
        return;
    const QDateTime now = m_clock->now();
    if (copy(journalPath, now, dialogs) != Outcome::Failed)
        m_doneFor = now.date();
}

AutoCopy::Outcome AutoCopy::copy(const QString &journalPath, const QDateTime &now, Dialogs &dialogs)
{
    const QString folder = folderOf(journalPath);
    QFile journal(journalPath);
    // No journal on disk yet: nothing can be lost by the save that creates it. (Something else
    // in its place is the save's to report.)
    if (!QFileInfo(journalPath).isFile())
        return Outcome::NothingToCopy;
    const qint64 size = journal.size();
    if (size > m_settings.maxBytes()) {
        tell(folder, Text::tooLarge(size, m_settings.maxMegabytes), dialogs);
        return Outcome::Failed;
    }
    if (size == createdJournal().size()) {
        if (!journal.open(QIODevice::ReadOnly)) {
            tell(folder, journal.errorString(), dialogs);
            return Outcome::Failed;
        }
        if (journal.readAll() == createdJournal())
            return Outcome::NothingToCopy;
        journal.close();
    }

    if (const std::optional<QString> failure = makeFolder(folder)) {
        tell(folder, *failure, dialogs);
        return Outcome::Failed;
    }
    // Room is made first, so that the folder never holds more than its limit, not even for a
    // moment, and a nearly full disk gets the space of the oldest copies back.
    std::vector<StoredCopy> copies = storedCopies(folder);
    removeExpired(folder, copies, now, m_settings, size);
    copies = storedCopies(folder);

    // Copies of the same minute (a restore just after the day's first save) keep each other.
    const QDateTime minute(now.date(), QTime(now.time().hour(), now.time().minute()));
    int order = 1;
    for (const StoredCopy &c : copies) {
        if (c.time == minute)
            order = std::max(order, c.order + 1);
    }
    const QString name = copyName(now, order);
    QString error;
    if (!copyFileAtomically(journalPath, QDir(folder).filePath(name), &error)) {
        tell(folder, error, dialogs);
        return Outcome::Failed;
    }
    copies.push_back({name, minute, order, size});
    removeExpired(folder, copies, now, m_settings, 0);
    return Outcome::Copied;
}

void AutoCopy::tell(const QString &folder, const QString &reason, Dialogs &dialogs)
{
    if (m_told)
        return;
    m_told = true;
    dialogs.inform(Text::copyFailed(QDir::toNativeSeparators(folder), reason), programTitle(),
                   Dialogs::Icon::Exclamation);
}
