// Marks of finding.
#include "launcher/FindMarks.h"

#include <QPainter>

FindMarks::FindMarks(QWidget* panel, const std::array<QWidget*, 57>& gadgets)
    : QWidget(panel)
    , gadgets_(gadgets)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(panel->rect());
    hide();
}

// Only the gadgets whose marks change are painted again: a key answers
// sooner when it paints a few gadgets rather than all 56.
void FindMarks::mark(const std::array<bool, 57>& marked, int chosen)
{
    for (size_t n = 1; n < gadgets_.size(); ++n) {
        const bool wasChosen = int(n) == chosen_;
        const bool isChosen = int(n) == chosen;
        if (marked[n] != marked_[n] || wasChosen != isChosen)
            update(gadgets_[n]->geometry());
    }
    marked_ = marked;
    chosen_ = chosen;
}

// A yellow band between black lines inside the gadget's edge stands out on
// any face colour; the chosen gadget's band is twice as wide.
void FindMarks::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // The launcher's silver, three parts in four: captions still show through.
    const QColor dim(192, 192, 192, 192);
    for (size_t n = 1; n < gadgets_.size(); ++n) {
        const QRect place = gadgets_[n]->geometry();
        if (!marked_[n]) {
            painter.fillRect(place, dim);
            continue;
        }
        const int band = int(n) == chosen_ ? 4 : 2;
        QRect ring = place;
        for (int i = 0; i < band + 2; ++i) {
            const bool edge = i == 0 || i == band + 1;
            painter.setPen(edge ? Qt::black : QColor(255, 255, 0));
            painter.drawRect(ring.adjusted(0, 0, -1, -1));
            ring.adjust(1, 1, -1, -1);
        }
    }
}
