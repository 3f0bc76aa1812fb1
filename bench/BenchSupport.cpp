// What the benchmarks share: a journal as the operators fill it, medians of runs, the paint
// probe and the report table that bench/run reads.

#include "BenchSupport.h"

#include "TestPlatform.h"
#include "journal/Journal.h"
#include "journal/JournalFile.h"
#include "platform/Cp1251.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <malloc.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace bench {

namespace {

constexpr int kStoredFields = 200;

// ---------------------------------------------------------------------------------------------
// A journal as the operators fill it: about 40 of the 200 fields of a record hold text, most of
// them the certificate's fields 2..45, a few the bookkeeping fields beyond.

struct Vehicle
{
    const char16_t *makeModel;
    const char16_t *makeModelLatin;
    const char16_t *type;
    const char16_t *category;
    const char16_t *engine;
    const char16_t *power;
    const char16_t *displacement;
    const char16_t *maxMass;
    const char16_t *unladenMass;
    const char16_t *vinPrefix;
};

constexpr std::array<Vehicle, 10> kVehicles = {{
    {u"ВАЗ 21074", u"VAZ 21074", u"ЛЕГКОВОЙ СЕДАН", u"B", u"21067", u"54/73.5", u"1568", u"1460", u"1060", u"XTA"},
    {u"ЛАДА 217030 ЛАДА ПРИОРА", u"LADA 217030 LADA PRIORA", u"ЛЕГКОВОЙ СЕДАН", u"B", u"21126", u"72/98", u"1596",
     u"1578", u"1163", u"XTA"},
    {u"ЛАДА 219410 ЛАДА КАЛИНА", u"LADA 219410 LADA KALINA", u"ЛЕГКОВОЙ ХЭТЧБЕК", u"B", u"11186", u"64/87", u"1596",
     u"1560", u"1160", u"XTA"},
    {u"ТОЙОТА КАМРИ", u"TOYOTA CAMRY", u"ЛЕГКОВОЙ СЕДАН", u"B", u"2AR", u"132/181", u"2494", u"2100", u"1505", u"XW7"},
    {u"ХЕНДЭ СОЛЯРИС", u"HYUNDAI SOLARIS", u"ЛЕГКОВОЙ СЕДАН", u"B", u"G4FC", u"90/123", u"1591", u"1565", u"1198",
     u"Z94"},
    {u"КИА РИО", u"KIA RIO", u"ЛЕГКОВОЙ ХЭТЧБЕК", u"B", u"G4FG", u"79/107", u"1591", u"1610", u"1185", u"Z94"},
    {u"ГАЗ 3302", u"GAZ 3302", u"ГРУЗОВОЙ БОРТОВОЙ", u"B", u"40524", u"103/140", u"2464", u"3500", u"1850", u"X96"},
    {u"УАЗ 315195", u"UAZ 315195", u"ЛЕГКОВОЙ УНИВЕРСАЛ", u"B", u"40911", u"94/128", u"2693", u"2650", u"1995", u"XTT"},
    {u"ФОЛЬКСВАГЕН ПОЛО", u"VOLKSWAGEN POLO", u"ЛЕГКОВОЙ СЕДАН", u"B", u"CFN", u"77/105", u"1598", u"1660", u"1163",
     u"XW8"},
    {u"КАМАЗ 5490-S5", u"KAMAZ 5490-S5", u"ГРУЗОВОЙ ТЯГАЧ СЕДЕЛЬНЫЙ", u"C", u"OM457LA", u"315/428", u"11967", u"18000",
     u"7550", u"XTC"},
}};

struct Person
{
    const char16_t *name;
    const char16_t *latin;
};

constexpr std::array<Person, 10> kSurnames = {{
    {u"ИВАНОВ", u"IVANOV"},
    {u"СМИРНОВ", u"SMIRNOV"},
    {u"КУЗНЕЦОВ", u"KUZNETSOV"},
    {u"ПОПОВА", u"POPOVA"},
    {u"ВАСИЛЬЕВ", u"VASILEV"},
    {u"ПЕТРОВА", u"PETROVA"},
    {u"СОКОЛОВ", u"SOKOLOV"},
    {u"МИХАЙЛОВ", u"MIKHAYLOV"},
    {u"НОВИКОВА", u"NOVIKOVA"},
    {u"ФЁДОРОВ", u"FEDOROV"},
}};
constexpr std::array<Person, 8> kNames = {{
    {u"СЕРГЕЙ", u"SERGEY"},
    {u"АЛЕКСАНДР", u"ALEKSANDR"},
    {u"ЕЛЕНА", u"ELENA"},
    {u"ОЛЬГА", u"OLGA"},
    {u"ДМИТРИЙ", u"DMITRIY"},
    {u"АНДРЕЙ", u"ANDREY"},
    {u"НАТАЛЬЯ", u"NATALYA"},
    {u"ЮРИЙ", u"YURIY"},
}};
constexpr std::array<const char16_t *, 6> kPatronymics = {
    u"ПЕТРОВИЧ", u"ИВАНОВНА", u"СЕРГЕЕВИЧ", u"АЛЕКСАНДРОВНА", u"НИКОЛАЕВИЧ", u"ВЛАДИМИРОВНА",
};

struct Place
{
    const char16_t *region;
    const char16_t *plateRegion;
    const char16_t *district;
    const char16_t *town;
    const char16_t *police;
};

constexpr std::array<Place, 6> kPlaces = {{
    {u"МОСКОВСКАЯ ОБЛ.", u"50", u"КРАСНОГОРСКИЙ Р-Н", u"Г. КРАСНОГОРСК",
     u"МРЭО ГИБДД ГУ МВД РОССИИ ПО МОСКОВСКОЙ ОБЛ."},
    {u"Г. МОСКВА", u"77", u"", u"Г. МОСКВА", u"МОГТО И РАС ГИБДД № 3 ГУ МВД РОССИИ ПО Г. МОСКВЕ"},
    {u"САМАРСКАЯ ОБЛ.", u"63", u"СТАВРОПОЛЬСКИЙ Р-Н", u"Г. ТОЛЬЯТТИ", u"РЭО ГИБДД У МВД РОССИИ ПО Г. ТОЛЬЯТТИ"},
    {u"РЕСПУБЛИКА ТАТАРСТАН", u"116", u"ВЫСОКОГОРСКИЙ Р-Н", u"С. ВЫСОКАЯ ГОРА",
     u"ОТДЕЛЕНИЕ № 2 МРЭО ГИБДД МВД ПО РЕСПУБЛИКЕ ТАТАРСТАН"},
    {u"КРАСНОДАРСКИЙ КРАЙ", u"123", u"ДИНСКОЙ Р-Н", u"СТ-ЦА ДИНСКАЯ",
     u"МРЭО ГИБДД № 1 ГУ МВД РОССИИ ПО КРАСНОДАРСКОМУ КРАЮ"},
    {u"СВЕРДЛОВСКАЯ ОБЛ.", u"66", u"", u"Г. ЕКАТЕРИНБУРГ", u"МРЭО ГИБДД ГУ МВД РОССИИ ПО СВЕРДЛОВСКОЙ ОБЛ."},
}};

constexpr std::array<const char16_t *, 8> kStreets = {
    u"УЛ. ЛЕНИНА",        u"ПР-Т МИРА",     u"УЛ. САДОВАЯ",   u"Б-Р ЮНОСТИ",
    u"УЛ. 40 ЛЕТ ПОБЕДЫ", u"УЛ. СОВЕТСКАЯ", u"ПЕР. ШКОЛЬНЫЙ", u"УЛ. МОЛОДЕЖНАЯ",
};
constexpr std::array<const char16_t *, 8> kColours = {
    u"БЕЛЫЙ", u"ЧЕРНЫЙ", u"СЕРЕБРИСТЫЙ", u"ВИШНЕВЫЙ", u"ТЕМНО-СИНИЙ", u"СЕРО-ЗЕЛЕНЫЙ МЕТАЛЛИК", u"БЕЖЕВЫЙ", u"КРАСНЫЙ",
};
constexpr std::array<const char16_t *, 6> kNotes = {
    u"ТС ПРИОБРЕТЕНО ПО ДОГОВОРУ КУПЛИ-ПРОДАЖИ", u"ИЗМЕНЕНИЕ ЦВЕТА",  u"УСТАНОВЛЕНО ГАЗОБАЛЛОННОЕ ОБОРУДОВАНИЕ",
    u"ВЗАМЕН УТРАЧЕННОГО СВИДЕТЕЛЬСТВА",         u"ЗАМЕНА ДВИГАТЕЛЯ", u"ДУБЛИКАТ ПТС ВЫДАН ВЗАМЕН УТИЛИЗИРОВАННОГО",
};
constexpr std::array<const char16_t *, 4> kOperators = {
    u"ПЕТРОВА О.В.",
    u"СИДОРЕНКО А.А.",
    u"Kuznetsova M.",
    u"ГРИГОРЬЕВ Д.С.",
};

// Deterministic records: the same seed gives the same file on every machine with this library.
class RecordWriter
{
public:
    // Fields 1..200 of record `id`, each followed by "|", without the line end.
    QString line(int id)
    {
        std::array<QString, kStoredFields + 1> f;
        f[1] = QString::number(id);
        fillVehicle(f);
        fillOwner(f);
        fillDocument(f);
        fillBookkeeping(f);
        QString text;
        text.reserve(800);
        for (int k = 1; k <= kStoredFields; ++k)
            text += f[size_t(k)] + QLatin1Char('|');
        return text;
    }

private:
    using Fields = std::array<QString, kStoredFields + 1>;

    int pick(int n) { return int(m_rng() % quint32(n)); }
    bool chance(int percent) { return pick(100) < percent; }
    template<class T, size_t N>
    const T &oneOf(const std::array<T, N> &list)
    {
        return list[size_t(pick(int(N)))];
    }
    static QString s(const char16_t *text) { return QString::fromUtf16(text); }

    QString digits(int n)
    {
        QString text;
        for (int i = 0; i < n; ++i)
            text += QChar(u'0' + pick(10));
        return text;
    }
    QString letters(QStringView alphabet, int n)
    {
        QString text;
        for (int i = 0; i < n; ++i)
            text += alphabet[pick(int(alphabet.size()))];
        return text;
    }
    QString date(int firstYear, int years)
    {
        return QStringLiteral("%1.%2.%3")
            .arg(1 + pick(28), 2, 10, QLatin1Char('0'))
            .arg(1 + pick(12), 2, 10, QLatin1Char('0'))
            .arg(firstYear + pick(years));
    }
    // "А123ВС77": the Cyrillic letters that look like Latin ones, as on a plate.
    QString plate(const Place &place)
    {
        const QStringView plateLetters = u"АВЕКМНОРСТУХ";
        return letters(plateLetters, 1) + digits(3) + letters(plateLetters, 2) + s(place.plateRegion);
    }
    QString vin(const Vehicle &v)
    {
        return s(v.vinPrefix) + letters(u"ABCDEFGHJKLMNPRSTUVWXYZ0123456789", 8) + digits(6);
    }
    QString certificate(const Place &place)
    {
        return s(place.plateRegion) + QStringLiteral(" ") + letters(u"АВЕКМНОРСТУХ", 2) + QStringLiteral(" ")
            + digits(6);
    }

    void fillVehicle(Fields &f)
    {
        const Vehicle &v = oneOf(kVehicles);
        m_place = &oneOf(kPlaces);
        f[2] = plate(*m_place);
        f[3] = vin(v);
        f[4] = s(v.makeModel);
        f[5] = s(v.makeModelLatin);
        f[6] = s(v.type);
        f[7] = s(v.category);
        f[8] = QString::number(1995 + pick(30));
        f[9] = s(v.engine);
        f[10] = digits(7);
        f[11] = chance(80) ? QStringLiteral("ОТСУТСТВУЕТ") : vin(v);
        f[12] = chance(80) ? f[3] : QStringLiteral("ОТСУТСТВУЕТ");
        f[13] = s(oneOf(kColours));
        f[14] = s(v.power);
        f[15] = s(v.displacement);
        f[16] = s(m_place->plateRegion) + QStringLiteral(" ") + letters(u"АВЕКМНОРСТУХ", 2);
        f[17] = digits(6);
        f[18] = s(v.maxMass);
        f[19] = s(v.unladenMass);
    }

    void fillOwner(Fields &f)
    {
        const Person &surname = oneOf(kSurnames);
        const Person &name = oneOf(kNames);
        f[20] = s(surname.name);
        f[21] = s(surname.latin);
        f[22] = s(name.name);
        f[23] = s(name.latin);
        f[24] = s(oneOf(kPatronymics));
        f[25] = s(m_place->region);
        f[27] = s(m_place->district);
        f[28] = s(m_place->town);
        f[29] = s(oneOf(kStreets));
        f[30] = QString::number(1 + pick(120));
        if (chance(30))
            f[31] = QString::number(1 + pick(5));
        if (chance(70))
            f[32] = QString::number(1 + pick(300));
    }

    void fillDocument(Fields &f)
    {
        f[33] = s(oneOf(kNotes));
        if (chance(70))
            f[34] = QStringLiteral("ДОГОВОР КУПЛИ-ПРОДАЖИ ОТ ") + date(2015, 10);
        if (chance(30))
            f[35] = QStringLiteral("ПТС ") + certificate(*m_place);
        f[36] = s(m_place->police);
        f[37] = date(2015, 10);
        f[38] = certificate(*m_place);
        f[39] = f[38];
        f[40] = certificate(*m_place);
        f[41] = digits(7);
    }

    void fillBookkeeping(Fields &f)
    {
        f[46] = s(oneOf(kOperators));
        f[47] = date(2015, 10);
        f[48] = QStringLiteral("+7 9%1 %2-%3-%4").arg(digits(2), digits(3), digits(2), digits(2));
        if (chance(80))
            f[49] = QStringLiteral("ОСАГО ХХХ ") + digits(10);
        f[100] = QStringLiteral("1");
        f[150] = QString::number(500 + 50 * pick(60));
        if (chance(60))
            f[199] = QStringLiteral("Повторная выдача, оплата по квитанции № ") + digits(8);
    }

    std::mt19937 m_rng{20251208};
    const Place *m_place = &kPlaces[0];
};

} // namespace

[[noreturn]] void die(const char *what)
{
    std::fprintf(stderr, "bench: %s\n", what);
    std::exit(2);
}

void require(bool ok, const char *what)
{
    if (!ok)
        die(what);
}

QByteArray journalBytes(int records)
{
    RecordWriter writer;
    QByteArray bytes;
    bytes.reserve(qsizetype(records) * 800);
    for (int id = 1; id <= records; ++id) {
        Cp1251::encodeAppend(writer.line(id), bytes);
        bytes += "\r\n";
    }
    return bytes;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    require(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(), "cannot write the generated journal");
}

// ---------------------------------------------------------------------------------------------
// Measuring

double msSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Bytes the process holds on the heap, the mapped large blocks included.
qint64 heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
}

bool PaintProbe::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::Paint)
        ++paints;
    return false;
}

// Runs the event loop until the probed widget has been painted.
void waitForPaint(const PaintProbe &probe)
{
    for (int i = 0; i < 1000 && probe.paints == 0; ++i)
        QCoreApplication::processEvents();
    require(probe.paints > 0, "the widget was never painted");
}

QString ms(double value)
{
    return QString::number(value, 'f', 2) + QStringLiteral(" ms");
}

QString mb(qint64 bytes)
{
    return QString::number(double(bytes) / (1024.0 * 1024.0), 'f', 2) + QStringLiteral(" MiB");
}

QString times(double ratio)
{
    return QString::number(ratio, 'f', 2) + QStringLiteral("x");
}

QString verdict(bool pass)
{
    return pass ? QStringLiteral("PASS") : QStringLiteral("FAIL");
}

Row againstFloor(const QString &figure, double value, double floor, double limit, const QString &floorName)
{
    const double ratio = value / floor;
    return {figure, ms(value), QStringLiteral("<= %1x %2").arg(limit).arg(floorName), times(ratio),
            verdict(ratio <= limit)};
}

Row absolute(const QString &figure, double value, double limitMs)
{
    return {figure, ms(value), QStringLiteral("<= ") + ms(limitMs), QStringLiteral("-"), verdict(value <= limitMs)};
}

Row info(const QString &figure, const QString &value)
{
    return {figure, value, QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-")};
}

void print(const std::vector<Row> &rows)
{
    const auto line = [](const Row &r) {
        std::printf("%-40s %14s  %-24s %8s  %s\n", qPrintable(r.figure), qPrintable(r.value), qPrintable(r.target),
                    qPrintable(r.ratio), qPrintable(r.result));
    };
    line({QStringLiteral("figure"), QStringLiteral("value"), QStringLiteral("target"), QStringLiteral("ratio"),
          QStringLiteral("result")});
    for (const Row &r : rows)
        line(r);

    // bench/run gathers the rows of every benchmark from a file it names, one row a line with
    // the columns separated by tabs, rather than from the table meant for people.
    const QString gathered = qEnvironmentVariable("TRELVAX_BENCH_ROWS");
    if (gathered.isEmpty())
        return;
    QFile file(gathered);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        die("cannot append to the file named by TRELVAX_BENCH_ROWS");
    const auto cell = [](QString text) { return text.replace(QLatin1Char('\t'), QLatin1Char(' ')); };
    for (const Row &r : rows) {
        const QStringList cells{cell(r.figure), cell(r.value), cell(r.target), cell(r.ratio), cell(r.result)};
        file.write(cells.join(QLatin1Char('\t')).toUtf8() + '\n');
    }
}

bool allPass(const std::vector<Row> &rows)
{
    return std::none_of(rows.begin(), rows.end(), [](const Row &r) { return r.result == QStringLiteral("FAIL"); });
}

double saveJournal(Journal &journal)
{
    ScriptedDialogs dialogs;
    QElapsedTimer timer;
    timer.start();
    const bool saved = SaveJournal(journal, dialogs);
    const double ms = msSince(timer);
    require(saved, "SaveJournal failed");
    return ms;
}

} // namespace bench
