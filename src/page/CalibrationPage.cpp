#include "CalibrationPage.h"

#include <QFont>
#include <QLocale>
#include <QPainter>
#include <QPen>

namespace CalibrationPage {

namespace {

constexpr double kMarkArmMm = 8;
constexpr double kLineMm = 0.15;

QString mm(double value)
{
    return QLocale().toString(value, 'g', 6);
}

void rulerTicks(QPainter &painter, bool horizontal, double lengthMm)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(2); // millimetres: the painter draws in them
    painter.setFont(font);
    for (int i = 0; i <= int(lengthMm); ++i) {
        const double tick = i % 10 == 0 ? 6 : i % 5 == 0 ? 4 : 2.5;
        // From the very edge of the paper: where the printer starts to print shows on it.
        const QPointF from = horizontal ? QPointF(i, 0.0) : QPointF(0.0, i);
        const QPointF to = horizontal ? from + QPointF(0, tick) : from + QPointF(tick, 0);
        painter.drawLine(from, to);
        if (i % 10 == 0 && i > 0) {
            const QString number = QString::number(i);
            if (horizontal)
                painter.drawText(QRectF(i - 5, 6.3, 10, 3), Qt::AlignHCenter | Qt::AlignTop, number);
            else
                painter.drawText(QRectF(6.5, i - 1.5, 10, 3), Qt::AlignLeft | Qt::AlignVCenter, number);
        }
    }
}

} // namespace

QList<Mark> marks()
{
    return {{QStringLiteral("A"), {20, 20}}, {QStringLiteral("B"), {270, 20}}, {QStringLiteral("C"), {20, 180}}};
}

QString describe(const Mark &mark)
{
    return mark.name + QStringLiteral(" (") + mm(mark.mm.x()) + QStringLiteral("; ") + mm(mark.mm.y())
        + QStringLiteral(") мм");
}

double spanXMm()
{
    return marks().at(1).mm.x() - marks().at(0).mm.x();
}

double spanYMm()
{
    return marks().at(2).mm.y() - marks().at(0).mm.y();
}

void paint(QPainter &painter, double dotsPerMmX, double dotsPerMmY, QSizeF paperMm)
{
    painter.save();
    painter.scale(dotsPerMmX, dotsPerMmY);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(Qt::black, kLineMm);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);

    rulerTicks(painter, true, paperMm.width());
    rulerTicks(painter, false, paperMm.height());

    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(3);
    painter.setFont(font);
    for (const Mark &mark : marks()) {
        const QPointF c = mark.mm;
        painter.drawLine(c - QPointF(kMarkArmMm, 0), c + QPointF(kMarkArmMm, 0));
        painter.drawLine(c - QPointF(0, kMarkArmMm), c + QPointF(0, kMarkArmMm));
        painter.drawEllipse(c, 3, 3);
        // The statement beside its mark, inward from the paper's edge.
        const QString text = describe(mark);
        const bool leftOfMark = c.x() > paperMm.width() / 2;
        const QRectF box = leftOfMark ? QRectF(c.x() - 44, c.y() - 8, 40, 4) : QRectF(c.x() + 4, c.y() - 8, 40, 4);
        painter.drawText(box, (leftOfMark ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignBottom, text);
    }
    painter.drawText(QRectF(40, 60, paperMm.width() - 80, 40), Qt::AlignLeft | Qt::TextWordWrap,
                     QStringLiteral("Страница калибровки принтера. Измерьте линейкой, на сколько миллиметров "
                                    "перекрестье A сместилось от указанного места вправо (X) и вниз (Y), и "
                                    "расстояния от A до B и от A до C. Введите их в окне калибровки."));
    painter.restore();
}

} // namespace CalibrationPage
