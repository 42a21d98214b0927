#include "roast_history_model.h"

#include <QBrush>
#include <QFileInfo>
#include <cmath>
#include <limits>

#include "curve_scales.h"
#include "curve_text.h"
#include "roast_log_text.h"
#include "roast_phases.h"

namespace {

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

// What a number column sorts by; a missing value sorts first.
double SortNumber(const RoastSummary& roast, int column) {
    constexpr double kMissing = std::numeric_limits<double>::lowest();
    if (!roast.problem.empty()) return kMissing;
    switch (column) {
        case RoastHistoryModel::kDuration: return roast.duration_s;
        case RoastHistoryModel::kEndTemperature: return roast.end_bean_f ? double(*roast.end_bean_f) : kMissing;
        case RoastHistoryModel::kWeightLoss: return roast.weight_loss ? *roast.weight_loss : kMissing;
        default: return kMissing;
    }
}

}  // namespace

RoastHistoryModel::RoastHistoryModel(QObject* parent) : QAbstractTableModel(parent) {}

void RoastHistoryModel::SetCelsius(bool celsius) {
    if (celsius == celsius_) return;
    celsius_ = celsius;
    if (!rows_.empty()) emit dataChanged(index(0, kEndTemperature), index(rowCount() - 1, kEndTemperature));
}

RoastHistoryModel::Row RoastHistoryModel::MakeRow(Summary summary) const {
    Row row;
    row.profile_key = FromStd(summary->profile).toLower();
    row.bean_key = FromStd(summary->bean).toLower();
    // "2026-12-08T14:03:05+01:00", or a file named "2026-12-08_140305 ….csv".
    row.date = QDate::fromString(FromStd(summary->start.substr(0, 10)), Qt::ISODate);
    row.summary = std::move(summary);
    row.listing = listing_;
    return row;
}

void RoastHistoryModel::BeginListing() { ++listing_; }

void RoastHistoryModel::Merge(const std::vector<Summary>& summaries) {
    std::vector<Row> fresh;
    for (const Summary& summary : summaries) {
        const auto listed = row_of_path_.find(summary->path);
        if (listed == row_of_path_.end()) {
            row_of_path_[summary->path] = rows_.size() + fresh.size();
            fresh.push_back(MakeRow(summary));
            continue;
        }
        const std::size_t r = listed->second;
        if (r >= rows_.size()) {  // twice in this batch
            fresh[r - rows_.size()] = MakeRow(summary);
            continue;
        }
        rows_[r].listing = listing_;
        if (*rows_[r].summary == *summary) continue;
        rows_[r] = MakeRow(summary);
        const int row = static_cast<int>(r);
        emit dataChanged(index(row, 0), index(row, kColumns - 1));
    }
    if (fresh.empty()) return;
    beginInsertRows(QModelIndex(), rowCount(), rowCount() + static_cast<int>(fresh.size()) - 1);
    for (Row& row : fresh) rows_.push_back(std::move(row));
    endInsertRows();
}

void RoastHistoryModel::RemoveUnlisted() {
    std::size_t first_removed = rows_.size();
    // From the end, a run of unlisted rows at a time.
    for (std::size_t end = rows_.size(); end > 0;) {
        if (rows_[end - 1].listing == listing_) {
            --end;
            continue;
        }
        std::size_t begin = end - 1;
        while (begin > 0 && rows_[begin - 1].listing != listing_) --begin;
        beginRemoveRows(QModelIndex(), static_cast<int>(begin), static_cast<int>(end) - 1);
        for (std::size_t r = begin; r < end; ++r) row_of_path_.erase(rows_[r].summary->path);
        rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(begin), rows_.begin() + static_cast<std::ptrdiff_t>(end));
        endRemoveRows();
        first_removed = begin;
        end = begin;
    }
    ReindexFrom(first_removed);
}

void RoastHistoryModel::Remove(const QString& path) {
    const auto listed = row_of_path_.find(path.toStdString());
    if (listed == row_of_path_.end()) return;
    const std::size_t r = listed->second;
    beginRemoveRows(QModelIndex(), static_cast<int>(r), static_cast<int>(r));
    row_of_path_.erase(listed);
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(r));
    endRemoveRows();
    ReindexFrom(r);
}

void RoastHistoryModel::ReindexFrom(std::size_t row) {
    for (std::size_t r = row; r < rows_.size(); ++r) row_of_path_[rows_[r].summary->path] = r;
}

bool RoastHistoryModel::Less(int a, int b, int column) const {
    const Row& x = rows_[static_cast<std::size_t>(a)];
    const Row& y = rows_[static_cast<std::size_t>(b)];
    switch (column) {
        case kStart: return x.summary->start < y.summary->start;
        case kProfile: return x.profile_key < y.profile_key;
        case kBean: return x.bean_key < y.bean_key;
        default: return SortNumber(*x.summary, column) < SortNumber(*y.summary, column);
    }
}

int RoastHistoryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int RoastHistoryModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QString RoastHistoryModel::Text(const RoastSummary& roast, int column) const {
    switch (column) {
        case kStart: return FromStd(StartText(roast.start));
        // Before the profile, so a long name's end does not hide it.
        case kProfile: return (roast.steered ? QStringLiteral("(followed) ") : QString()) + FromStd(roast.profile);
        case kBean: return FromStd(roast.bean);
        default: break;
    }
    if (!roast.problem.empty()) return {};
    switch (column) {
        case kDuration:
            return FromStd(MinutesSeconds(roast.duration_s)) +
                   (roast.incomplete ? QStringLiteral(" (incomplete)") : QString());
        case kEndTemperature:
            if (!roast.end_bean_f) return {};
            return QString::number(std::lround(TemperatureInUnit(*roast.end_bean_f, celsius_))) +
                   (celsius_ ? QStringLiteral(" \u00b0C") : QStringLiteral(" \u00b0F"));
        case kWeightLoss:
            return roast.weight_loss ? FromStd(OneDecimal(*roast.weight_loss)) + QStringLiteral(" %") : QString();
        default: return {};
    }
}

QVariant RoastHistoryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= kColumns) return {};
    const RoastSummary& roast = summary(index.row());
    switch (role) {
        case Qt::DisplayRole: return Text(roast, index.column());
        case Qt::ToolTipRole:
            if (!roast.problem.empty())
                return QStringLiteral("Cannot read %1: %2").arg(QFileInfo(FromStd(roast.path)).fileName(),
                                                               FromStd(roast.problem));
            if (roast.incomplete && index.column() == kDuration) return QStringLiteral("The roast did not run to its end");
            if (roast.steered && index.column() == kProfile)
                return QStringLiteral("Followed a background: Roast again runs the program its steering came to");
            return {};
        case Qt::ForegroundRole:
            if (!roast.problem.empty()) return QBrush(Qt::gray);
            return {};
        case kPathRole: return FromStd(roast.path);
        case kProblemRole: return FromStd(roast.problem);
        case kSteeredRole: return roast.steered;
        default: return {};
    }
}

QVariant RoastHistoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns)
        return QAbstractTableModel::headerData(section, orientation, role);
    // "Recorded" is the whole recording, the cooling with it; the
    // comparison's "Roast time" runs to the drop.
    static const char* const kTitles[kColumns] = {"Started", "Profile", "Bean", "Recorded", "End temperature", "Weight loss"};
    if (role == Qt::DisplayRole) return QString::fromLatin1(kTitles[section]);
    if (role == Qt::ToolTipRole && section == kDuration)
        return QStringLiteral("How long the roast was recorded, the cooling included");
    return QAbstractTableModel::headerData(section, orientation, role);
}
