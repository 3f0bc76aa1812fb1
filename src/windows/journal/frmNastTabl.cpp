#include "frmNastTabl.h"

#include "journal/JournalGridModel.h"
#include "platform/Twips.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

namespace {

namespace Text {
const QString caption = QStringLiteral("Настройка таблицы");
const QString alignment = QStringLiteral("Выравнивание");
const std::array<QString, 3> choices = {QStringLiteral("Влево"), QStringLiteral("Центр"), QStringLiteral("Вправо")};
const QString ok = QStringLiteral("Ok");
} // namespace Text

// The grid's codes for left, centre and right, each vertically centred.
constexpr std::array<int, 3> kCodes = {1, 4, 7};
const std::array<QString, 3> kNames = {QStringLiteral("ChL"), QStringLiteral("ChM"), QStringLiteral("ChR")};

// Positions in twips.
constexpr std::array<int, frmNastTabl::kRows> kRowTops = {660, 960, 1260, 1560, 1860, 2145};
constexpr std::array<int, 3> kBoxLefts = {2085, 3285, 4485};
// Wider and taller than the boxes of old, so that "Вправо" is not cut in today's fonts; the
// columns are still 1200 twips apart.
constexpr int kBoxWidth = 1150;
constexpr int kBoxHeight = 285;
constexpr int kLabelLeft = 120;
constexpr int kLabelWidth = 1860;
constexpr int kClientWidth = 5760;
constexpr int kClientHeight = 3300;

} // namespace

frmNastTabl::frmNastTabl(QWidget &journalWindow, const Alignments &alignments, ApplyAlignment applyAlignment)
    : QWidget(nullptr, Qt::Dialog | Qt::WindowCloseButtonHint | Qt::WindowTitleHint), m_journalWindow(journalWindow),
      m_applyAlignment(std::move(applyAlignment))
{
    setObjectName(QStringLiteral("frmNastTabl"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(Text::caption);
    buildControls();
    setFixedSize(pixelsFromTwips(kClientWidth), pixelsFromTwips(kClientHeight));
    showAlignments(alignments);
    m_journalWindow.setEnabled(false);
}

frmNastTabl::~frmNastTabl() = default;

void frmNastTabl::buildControls()
{
    Label1 = new QLabel(Text::alignment, this);
    Label1->setObjectName(QStringLiteral("Label1(1)"));
    Label1->move(pixelsFromTwips(2925), pixelsFromTwips(180));
    Label1->adjustSize();

    for (int row = 0; row < kRows; ++row) {
        const int top = kRowTops[size_t(row)];
        auto *label = new QLabel(JournalGridModel::header(row), this);
        label->setObjectName(QStringLiteral("Label2(%1)").arg(row));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(twipsRect(kLabelLeft, top, kLabelWidth, kBoxHeight));
        Label2[size_t(row)] = label;
        for (int choice = 0; choice < kChoices; ++choice) {
            auto *box = new QCheckBox(Text::choices[size_t(choice)], this);
            box->setObjectName(QStringLiteral("%1(%2)").arg(kNames[size_t(choice)]).arg(row + 1));
            box->setGeometry(twipsRect(kBoxLefts[size_t(choice)], top, kBoxWidth, kBoxHeight));
            connect(box, &QCheckBox::toggled, this,
                    [this, row, choice](bool ticked) { Ch_Click(row, choice, ticked); });
            m_ticks[size_t(row)][size_t(choice)] = box;
        }
    }

    CmdOk = new QPushButton(Text::ok, this);
    CmdOk->setObjectName(QStringLiteral("CmdOk"));
    CmdOk->setGeometry(twipsRect(3660, 2700, 1335, 375));
    CmdOk->setDefault(true);
    connect(CmdOk, &QPushButton::clicked, this, &frmNastTabl::CmdOk_Click);
}

void frmNastTabl::showAlignments(const Alignments &alignments)
{
    for (int row = 0; row < kRows; ++row) {
        const int code = alignments[size_t(row)];
        for (int choice = 0; choice < kChoices; ++choice)
            m_ticks[size_t(row)][size_t(choice)]->setChecked(code == kCodes[size_t(choice)]);
    }
}

void frmNastTabl::Ch_Click(int row, int choice, bool ticked)
{
    // At most one tick a row; unticking leaves the row without one.
    if (!ticked)
        return;
    for (int other = 0; other < kChoices; ++other) {
        if (other != choice)
            m_ticks[size_t(row)][size_t(other)]->setChecked(false);
    }
}

void frmNastTabl::CmdOk_Click()
{
    for (int row = 0; row < kRows; ++row) {
        for (int choice = 0; choice < kChoices; ++choice) {
            if (m_ticks[size_t(row)][size_t(choice)]->isChecked())
                m_applyAlignment(row, kCodes[size_t(choice)]);
        }
    }
    close();
}

void frmNastTabl::closeEvent(QCloseEvent *event)
{
    enableJournalWindow();
    QWidget::closeEvent(event);
}

void frmNastTabl::enableJournalWindow()
{
    m_journalWindow.setEnabled(true);
}
