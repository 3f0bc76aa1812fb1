#include "PageUndo.h"

#include "certificate/CertificateLayout.h"
#include "certificate/LayoutStore.h"
#include "certificate/PageSnapshot.h"
#include "platform/Clock.h"
#include "platform/RegionalNumber.h"

#include <QPointer>

#include <bitset>
#include <cmath>

namespace {

namespace Text {
// "сдвиг 1 поля", "сдвиг 3 полей", "сдвиг 21 поля": the count in the genitive.
QString labelsGenitive(int count)
{
    const bool one = count % 10 == 1 && count % 100 != 11;
    return QString::number(count) + (one ? QStringLiteral(" поля") : QStringLiteral(" полей"));
}

QString distance(float dx, float dy)
{
    const auto mm = [](float value) { return RegionalNumber::format(std::fabs(value)) + QStringLiteral(" мм"); };
    if (dx != 0 && dy != 0)
        return mm(dx) + QStringLiteral(" по горизонтали и ") + mm(dy) + QStringLiteral(" по вертикали");
    return mm(dx != 0 ? dx : dy);
}
} // namespace Text

constexpr int kLabelMoveId = 1;

std::bitset<kLabelCount> selectionOf(const CertificateLayout &layout)
{
    std::bitset<kLabelCount> selection;
    for (int i = 0; i < kLabelCount; ++i)
        selection[size_t(i)] = layout.isSelected(i);
    return selection;
}

} // namespace

// One change of the page: the page before and after it. Pushing it does not run it again: the
// change has already been made by the operator's command.
class PageUndo::Step : public QUndoCommand
{
public:
    Step(PageUndo &owner, const QString &name, PageSnapshot before, PageSnapshot after)
        : QUndoCommand(name), m_owner(owner), m_before(std::move(before)), m_after(std::move(after))
    {
    }

    void undo() override
    {
        m_undone = true;
        m_owner.restore(m_before);
        takeBack();
    }
    void redo() override
    {
        if (m_pushed) {
            m_owner.restore(m_after);
            doAgain();
        }
        m_pushed = true;
    }

protected:
    // What the change did besides the page.
    virtual void takeBack() {}
    virtual void doAgain() {}

    PageUndo &m_owner;
    PageSnapshot m_before;
    PageSnapshot m_after;
    // Taken back once: the run it ended is over, whatever comes next.
    bool m_undone = false;

private:
    bool m_pushed = false;
};

class PageUndo::LabelMoveStep final : public Step
{
public:
    LabelMoveStep(PageUndo &owner, PageSnapshot before, PageSnapshot after, std::bitset<kLabelCount> selection,
                  QDateTime at, float dx, float dy)
        : Step(owner, QString(), std::move(before), std::move(after)), m_selection(selection), m_last(std::move(at)),
          m_dx(dx), m_dy(dy)
    {
        name();
    }

    int id() const override { return kLabelMoveId; }

    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const LabelMoveStep *>(other);
        const qint64 pause = m_last.msecsTo(next->m_last);
        if (m_undone || next->m_selection != m_selection || pause < 0 || pause > kRunMilliseconds)
            return false;
        m_after = next->m_after;
        m_last = next->m_last;
        m_dx += next->m_dx;
        m_dy += next->m_dy;
        name();
        // Back where the run started: no step at all.
        setObsolete(m_after.sameAs(m_before));
        return true;
    }

private:
    void name() { setText(labelMoveName(int(m_selection.count()), m_dx, m_dy)); }

    std::bitset<kLabelCount> m_selection;
    QDateTime m_last;
    float m_dx;
    float m_dy;
};

class PageUndo::StoredStep final : public Step
{
public:
    StoredStep(PageUndo &owner, const QString &name, PageSnapshot before, PageSnapshot after, LayoutStore &store,
               LayoutStore::StoredEntries storedBefore, LayoutStore::StoredEntries storedAfter)
        : Step(owner, name, std::move(before), std::move(after)), m_store(store),
          m_storedBefore(std::move(storedBefore)), m_storedAfter(std::move(storedAfter))
    {
    }

private:
    void takeBack() override { m_store.restoreStoredEntries(m_storedBefore); }
    void doAgain() override { m_store.restoreStoredEntries(m_storedAfter); }

    LayoutStore &m_store;
    LayoutStore::StoredEntries m_storedBefore;
    LayoutStore::StoredEntries m_storedAfter;
};

PageUndo::PageUndo(CertificateLayout &layout, Clock &clock, QObject *parent)
    : QObject(parent), m_layout(layout), m_clock(clock)
{
    m_stack.setObjectName(QStringLiteral("frmPTS1.undo"));
}

PageUndo::~PageUndo()
{
    // The steps go with the window, without telling the frame about it.
    m_stack.blockSignals(true);
}

void PageUndo::record(const QString &name, const std::function<void()> &change, LayoutStore *store)
{
    PageSnapshot before = PageSnapshot::of(m_layout);
    const LayoutStore::StoredEntries storedBefore = store ? store->storedEntries() : LayoutStore::StoredEntries();
    const QPointer<PageUndo> alive(this);
    change();
    if (!alive)
        return;
    PageSnapshot after = PageSnapshot::of(m_layout);
    if (!store) {
        if (!after.sameAs(before))
            m_stack.push(new Step(*this, name, std::move(before), std::move(after)));
        return;
    }
    // A page already where the change puts it may still have had other positions stored.
    LayoutStore::StoredEntries storedAfter = store->storedEntries();
    if (!after.sameAs(before) || storedAfter != storedBefore)
        m_stack.push(new StoredStep(*this, name, std::move(before), std::move(after), *store, storedBefore,
                                    std::move(storedAfter)));
}

void PageUndo::recordLabelMove(float dx, float dy, const std::function<void()> &change)
{
    PageSnapshot before = PageSnapshot::of(m_layout);
    change();
    PageSnapshot after = PageSnapshot::of(m_layout);
    if (after.sameAs(before))
        return;
    m_stack.push(
        new LabelMoveStep(*this, std::move(before), std::move(after), selectionOf(m_layout), m_clock.now(), dx, dy));
}

void PageUndo::restore(const PageSnapshot &page)
{
    if (page.restoreTo(m_layout))
        Q_EMIT placesRestored();
}

QString PageUndo::labelMoveName(int labels, float dx, float dy)
{
    return QStringLiteral("сдвиг ") + Text::labelsGenitive(labels) + QStringLiteral(" на ") + Text::distance(dx, dy);
}

QString PageUndo::sideMoveName(float dx, float dy)
{
    return QStringLiteral("сдвиг сторон на ") + Text::distance(dx, dy);
}

QString PageUndo::resetName()
{
    return QStringLiteral("сброс положения полей");
}

QString PageUndo::fontResetName()
{
    return QStringLiteral("возврат шрифта всех полей");
}

QString PageUndo::fontName(int labels)
{
    return QStringLiteral("смена шрифта ") + Text::labelsGenitive(labels);
}

QString PageUndo::alignName(int labels, bool left)
{
    return QStringLiteral("выравнивание ") + Text::labelsGenitive(labels)
        + (left ? QStringLiteral(" по левому краю") : QStringLiteral(" по верхнему краю"));
}

QString PageUndo::textName(int label)
{
    return QStringLiteral("правка текста поля № ") + QString::number(label);
}

QString PageUndo::numberColourName(bool red)
{
    return red ? QStringLiteral("цвет красного номера") : QStringLiteral("цвет черного номера");
}

QString PageUndo::numberColourResetName(bool red)
{
    return red ? QStringLiteral("сброс цвета красного номера") : QStringLiteral("сброс цвета черного номера");
}
