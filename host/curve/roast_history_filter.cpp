#include "roast_history_filter.h"

#include "roast_history_model.h"

RoastHistoryFilter::RoastHistoryFilter(RoastHistoryModel* rows, QObject* parent)
    : QSortFilterProxyModel(parent), rows_(rows) {
    setSourceModel(rows);
    // Rows that come or change while the list is sorted go to their place.
    setDynamicSortFilter(true);
}

void RoastHistoryFilter::SetText(const QString& text) {
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words == words_) return;
    words_ = words;
    Refilter();
}

void RoastHistoryFilter::SetDates(const QDate& from, const QDate& to) {
    if (from == from_ && to == to_) return;
    from_ = from;
    to_ = to;
    Refilter();
}

void RoastHistoryFilter::Refilter() {
    // Filtering and sorting afresh, the rows change in one go. Filtering
    // alone would tell the table of every run of rows that came or went,
    // thousands of them with many roasts, and the table is slow to follow
    // each.
    invalidate();
}

bool RoastHistoryFilter::filterAcceptsRow(int source_row, const QModelIndex&) const {
    if (from_.isValid() || to_.isValid()) {
        const QDate date = rows_->date(source_row);
        if (!date.isValid() || (from_.isValid() && date < from_) || (to_.isValid() && date > to_)) return false;
    }
    if (words_.isEmpty()) return true;
    const RoastSummary& roast = rows_->summary(source_row);
    const QString fields[] = {QString::fromStdString(roast.profile), QString::fromStdString(roast.bean),
                              QString::fromStdString(roast.notes)};
    for (const QString& word : words_) {
        bool found = false;
        for (const QString& field : fields) found = found || field.contains(word, Qt::CaseInsensitive);
        if (!found) return false;
    }
    return true;
}

bool RoastHistoryFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    return rows_->Less(left.row(), right.row(), left.column());
}
