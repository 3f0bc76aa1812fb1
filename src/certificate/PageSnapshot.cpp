#include "PageSnapshot.h"

#include "CertificateLayout.h"
#include "LayoutState.h"

namespace {

bool sameLabel(const PageSnapshot::Label &a, const PageSnapshot::Label &b)
{
    return a.text == b.text && a.pos == b.pos && a.width == b.width && a.height == b.height && a.font == b.font;
}

bool sameFontTables(const LabelFontTable &a, const LabelFontTable &b)
{
    for (int i = 0; i < LabelFontTable::kLabels; ++i) {
        const LabelFont &x = a[i];
        const LabelFont &y = b[i];
        for (const auto field :
             {&LabelFont::name, &LabelFont::bold, &LabelFont::italic, &LabelFont::size, &LabelFont::colour}) {
            if (LabelFontTable::textOf(x.*field) != LabelFontTable::textOf(y.*field))
                return false;
        }
    }
    return true;
}

void restoreNumberColour(CertificateLayout &layout, qint32 &current, qint32 wanted, std::initializer_list<int> labels)
{
    if (current == wanted)
        return;
    current = wanted;
    for (const int i : labels) {
        if (!layout.isSelected(i))
            layout.setLabelColour(i, wanted);
    }
}

} // namespace

PageSnapshot PageSnapshot::of(const CertificateLayout &layout)
{
    PageSnapshot page;
    for (int i = 0; i < kLabelCount; ++i) {
        const CertificateLayout::Label &l = layout.label(i);
        page.labels[size_t(i)] = {l.text, l.pos, l.width, l.height, l.font};
    }
    for (int p = 0; p < kPictureCount; ++p)
        page.pictures[size_t(p)] = layout.picture(PictureId(p)).pos;
    const LayoutState &state = layout.state();
    page.redNumber = state.RedNumberColour;
    page.blackNumber = state.BlackNumberColour;
    page.fonts = state.LabelFonts;
    return page;
}

bool PageSnapshot::sameAs(const PageSnapshot &other) const
{
    for (int i = 0; i < kLabelCount; ++i) {
        if (!sameLabel(labels[size_t(i)], other.labels[size_t(i)]))
            return false;
    }
    return pictures == other.pictures && redNumber == other.redNumber && blackNumber == other.blackNumber
        && sameFontTables(fonts, other.fonts);
}

bool PageSnapshot::restoreTo(CertificateLayout &layout) const
{
    bool moved = false;
    for (int i = 0; i < kLabelCount; ++i) {
        const Label &wanted = labels[size_t(i)];
        const CertificateLayout::Label &now = layout.label(i);
        // Text first: it sizes the label, and the size it had comes back after.
        if (now.text != wanted.text)
            layout.setLabelText(i, wanted.text);
        if (!(now.font == wanted.font))
            layout.setLabelFont(i, wanted.font);
        if (now.width != wanted.width || now.height != wanted.height)
            layout.setLabelSize(i, wanted.width, wanted.height);
        if (!(now.pos == wanted.pos)) {
            layout.setLabelPosition(i, wanted.pos);
            moved = true;
        }
    }
    for (int p = 0; p < kPictureCount; ++p) {
        if (!(layout.picture(PictureId(p)).pos == pictures[size_t(p)])) {
            layout.setPicturePosition(PictureId(p), pictures[size_t(p)]);
            moved = true;
        }
    }
    LayoutState &state = layout.state();
    state.LabelFonts = fonts;
    restoreNumberColour(layout, state.RedNumberColour, redNumber, {36, 37});
    restoreNumberColour(layout, state.BlackNumberColour, blackNumber, {38});
    if (moved)
        state.LayoutChanged = true;
    return moved;
}
