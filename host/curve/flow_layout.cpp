#include "flow_layout.h"

#include <QWidget>
#include <algorithm>
#include <utility>
#include <vector>

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

namespace {

// An item that takes what its row leaves: one that expands, or one whose
// own width is ignored (it shows what fits).
bool Stretches(const QLayoutItem* item) {
    if (item->expandingDirections() & Qt::Horizontal) return true;
    return item->widget() && item->widget()->sizePolicy().horizontalPolicy() == QSizePolicy::Ignored;
}

}  // namespace

int FlowLayout::Arrange(const QRect& rect, bool apply) const {
    const QRect area = rect.marginsRemoved(contentsMargins());
    int y = area.y();
    // The items of the row being filled, at their widths; a row is laid
    // out once it is full, its spare width shared by the items that expand.
    std::vector<std::pair<QLayoutItem*, QSize>> row;
    int row_width = 0;
    auto lay_out_row = [&] {
        if (row.empty()) return;
        int expanding = 0;
        for (const auto& [item, size] : row) expanding += Stretches(item) ? 1 : 0;
        int spare = std::max(0, area.width() - row_width);
        int x = area.x();
        int row_height = 0;
        for (auto& [item, size] : row) {
            if (expanding > 0 && Stretches(item)) {
                const int more = spare / expanding--;
                size.setWidth(size.width() + more);
                spare -= more;
            }
            // An item whose height follows its width (one that wraps too).
            if (item->hasHeightForWidth()) size.setHeight(item->heightForWidth(size.width()));
            row_height = std::max(row_height, size.height());
        }
        for (const auto& [item, size] : row) {
            if (apply) item->setGeometry(QRect(QPoint(x, y), size));
            x += size.width() + spacing_;
        }
        y += row_height + spacing_;
        row.clear();
        row_width = 0;
    };
    for (int i = 0; i < items_.size(); ++i) {
        QLayoutItem* item = items_[i];
        // A break ends the row even where the item after it is hidden.
        if (breaks_.contains(i)) lay_out_row();
        if (item->isEmpty()) continue;
        // No wider than a row: an item that would be is cut to it.
        QSize hint = item->sizeHint();
        hint.setWidth(std::max(item->minimumSize().width(), std::min(hint.width(), area.width())));
        if (!row.empty() && row_width + spacing_ + hint.width() > area.width()) lay_out_row();
        row_width += (row.empty() ? 0 : spacing_) + hint.width();
        row.emplace_back(item, hint);
    }
    lay_out_row();
    const QMargins m = contentsMargins();
    const int height = y == area.y() ? 0 : y - spacing_ - area.y();
    return height + m.top() + m.bottom();
}
