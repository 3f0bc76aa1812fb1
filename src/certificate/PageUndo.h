#pragma once

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <functional>

class CertificateLayout;
class Clock;
class LayoutStore;
struct PageSnapshot;

// The steps the operator can take back in one print window: every change of the page is one
// step of the window's own stack, which lives and dies with the window and is never stored.
// A run of label moves on the same selection, each within a second of the one before, is one
// step, as editors take typing back a run at a time.
class PageUndo final : public QObject
{
    Q_OBJECT

public:
    // A move belongs to the run before it when it comes at most this long after it.
    static constexpr qint64 kRunMilliseconds = 1000;

    PageUndo(CertificateLayout &layout, Clock &clock, QObject *parent = nullptr);
    ~PageUndo() override;

    QUndoStack &stack() { return m_stack; }

    // Runs `change`; when the page is no longer what it was, that is one step named `name`.
    // The change may ask the operator (a dialog); should the window go meanwhile, nothing is
    // kept. A change that also stores positions at once ("Сброс") names its `store`: its step
    // takes back what was stored as well, and stores it again when done again.
    void record(const QString &name, const std::function<void()> &change, LayoutStore *store = nullptr);
    // A move of the selected labels, joined to the run of moves before it where it belongs.
    void recordLabelMove(float dx, float dy, const std::function<void()> &change);

    // The names of the steps, as the operator reads them after "Отменить: ".
    static QString labelMoveName(int labels, float dx, float dy);
    static QString sideMoveName(float dx, float dy);
    static QString resetName();
    static QString fontResetName();
    static QString fontName(int labels);
    // "выравнивание 3 полей по левому краю" or "... по верхнему краю".
    static QString alignName(int labels, bool left);
    static QString textName(int label);
    static QString numberColourName(bool red);
    static QString numberColourResetName(bool red);

Q_SIGNALS:
    // An undo or redo put labels or pictures elsewhere; the layout counts as changed.
    void placesRestored();

private:
    class Step;
    class LabelMoveStep;
    class StoredStep;
    void restore(const PageSnapshot &page);

    CertificateLayout &m_layout;
    Clock &m_clock;
    QUndoStack m_stack;
};
