// A layout that sets its widgets in a row and wraps them onto further rows
// when the width runs out, like words in a line of text; AddBreak ends a
// row early. A widget that expands sideways (or ignores its own width)
// takes what its row leaves, and one whose height follows its width gets
// the height for the width it is given. A window with many buttons can then be
// narrow without cutting any of them.
#pragma once

#include <QLayout>
#include <QList>

class FlowLayout : public QLayout {
public:
    explicit FlowLayout(QWidget* parent = nullptr, int spacing = 6);
    ~FlowLayout() override;

    // The next widget starts a new row.
    void AddBreak();

    void addItem(QLayoutItem* item) override;
    int count() const override { return static_cast<int>(items_.size()); }
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

private:
    // Lays the items out in `rect` (only measures when `apply` is false);
    // returns the height used.
    int Arrange(const QRect& rect, bool apply) const;

    QList<QLayoutItem*> items_;
    QList<int> breaks_;  // indices of the items that start a row
    int spacing_;
};
