#include "flow_layout.h"

#include <QWidget>
#include <algorithm>

FlowLayout::FlowLayout(QWidget* parent, int spacing) : QLayout(parent), spacing_(spacing) {
    setContentsMargins(0, 0, 0, 0);
}

FlowLayout::~FlowLayout() {
    while (QLayoutItem* item = takeAt(0)) delete item;
}

void FlowLayout::AddBreak() { breaks_.append(count()); }

void FlowLayout::addItem(QLayoutItem* item) { items_.append(item); }

QLayoutItem* FlowLayout::itemAt(int index) const { return items_.value(index); }

QLayoutItem* FlowLayout::takeAt(int index) {
    if (index < 0 || index >= items_.size()) return nullptr;
    for (int& b : breaks_)
        if (b > index) --b;
    return items_.takeAt(index);
}

int FlowLayout::heightForWidth(int width) const { return Arrange(QRect(0, 0, width, 0), false); }

QSize FlowLayout::minimumSize() const {
    // As narrow as the widest item; as high as the items need at that width.
    QSize size;
    for (const QLayoutItem* item : items_) size = size.expandedTo(item->minimumSize());
    const QMargins m = contentsMargins();
    return size + QSize(m.left() + m.right(), m.top() + m.bottom());
}

QSize FlowLayout::sizeHint() const {
    // Every row at its full length.
    int width = 0, row = 0, height = 0, row_height = 0;
    for (int i = 0; i < items_.size(); ++i) {
        if (i > 0 && breaks_.contains(i)) {
            width = std::max(width, row);
            height += row_height + spacing_;
            row = row_height = 0;
        }
        const QSize hint = items_[i]->sizeHint();
        row += (row > 0 ? spacing_ : 0) + hint.width();
        row_height = std::max(row_height, hint.height());
    }
    const QMargins m = contentsMargins();
    return QSize(std::max(width, row), height + row_height) + QSize(m.left() + m.right(), m.top() + m.bottom());
}

void FlowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    Arrange(rect, true);
}

int FlowLayout::Arrange(const QRect& rect, bool apply) const {
    const QRect area = rect.marginsRemoved(contentsMargins());
    int x = area.x();
    int y = area.y();
    int row_height = 0;
    for (int i = 0; i < items_.size(); ++i) {
        QLayoutItem* item = items_[i];
        if (item->isEmpty()) continue;
        // No wider than a row: an item that would be is cut to it.
        QSize hint = item->sizeHint();
        hint.setWidth(std::max(item->minimumSize().width(), std::min(hint.width(), area.width())));
        const bool wraps = x > area.x() && (breaks_.contains(i) || x + hint.width() > area.right() + 1);
        if (wraps) {
            x = area.x();
            y += row_height + spacing_;
            row_height = 0;
        }
        if (apply) item->setGeometry(QRect(QPoint(x, y), hint));
        x += hint.width() + spacing_;
        row_height = std::max(row_height, hint.height());
    }
    const QMargins m = contentsMargins();
    return y + row_height - rect.y() + m.bottom();
}
