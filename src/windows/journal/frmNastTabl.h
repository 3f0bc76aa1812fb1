#pragma once

#include <QWidget>

#include <QtGlobal>

#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;

// "Настройка таблицы": the operator picks left, centre or right for each column of the journal
// grid. OK applies the ticks; the close box applies nothing. The journal window stays disabled
// while the dialog is open.
class frmNastTabl final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kRows = 6;
    using Alignments = std::array<qint16, kRows>;
    // What OK does to a column whose row has a tick: the grid's alignment code for it.
    using ApplyAlignment = std::function<void(int column, int code)>;

    // Disables the journal window and shows the columns' current alignments as ticks. The
    // dialog is a window of its own, not a child of the journal window, which would disable it
    // along with itself; the journal window owns it and takes it along when it goes.
    frmNastTabl(QWidget &journalWindow, const Alignments &alignments, ApplyAlignment applyAlignment);
    ~frmNastTabl() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    enum Choice { Left, Centre, Right, kChoices };

    void buildControls();
    void showAlignments(const Alignments &alignments);
    void Ch_Click(int row, int choice, bool ticked);
    void CmdOk_Click();
    void enableJournalWindow();

    QWidget &m_journalWindow;
    ApplyAlignment m_applyAlignment;
    QLabel *Label1 = nullptr;
    std::array<QLabel *, kRows> Label2{};
    // Per row (control index row + 1): ChL, ChM, ChR.
    std::array<std::array<QCheckBox *, kChoices>, kRows> m_ticks{};
    QPushButton *CmdOk = nullptr;
};
