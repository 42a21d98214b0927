#include "roast_compare_window.h"

#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "curve_text.h"
#include "flow_layout.h"
#include "rate_of_rise.h"
#include "roast_phases.h"

namespace {

const QString kSavePicture = QStringLiteral("Save picture\u2026");
const QString kSaveTable = QStringLiteral("Save table\u2026");

// Eight colours that stay apart on white and from one another.
const QColor kColours[] = {{31, 119, 180}, {214, 39, 40},  {44, 160, 44},  {255, 127, 14},
                           {148, 103, 189}, {140, 86, 75}, {227, 119, 194}, {23, 190, 207}};

const struct {
    AlignPoint point;
    const char* text;
} kAlignments[] = {{AlignPoint::Start, "Start of the recording"},
                   {AlignPoint::DryEnd, "Dry end"},
                   {AlignPoint::FirstCrack, "First crack"},
                   {AlignPoint::Drop, "Drop"}};

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

// A value of the table as it reads: times as m:ss, temperatures in the
// unit shown, shares with a percent sign.
QString ValueText(ColumnKind kind, const std::optional<double>& value, bool celsius) {
    if (!value) return QString();
    switch (kind) {
    case ColumnKind::Seconds: return FromStd(MinutesSeconds(*value));
    case ColumnKind::Temperature:
        return QString::number(std::lround(*value)) + (celsius ? QStringLiteral(" \u00b0C") : QStringLiteral(" \u00b0F"));
    case ColumnKind::Percent: return FromStd(OneDecimal(*value)) + QStringLiteral(" %");
    case ColumnKind::Text: break;
    }
    return QString();
}

QIcon Swatch(const QColor& colour) {
    QPixmap pixmap(12, 12);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

}  // namespace

QColor RoastCompareWindow::ColourOf(std::size_t index) { return kColours[index % std::size(kColours)]; }

RoastCompareWindow::RoastCompareWindow(std::vector<Entry> roasts, QString roasts_folder, bool celsius, QWidget* parent)
    : QWidget(parent, Qt::Window),
      entries_(std::move(roasts)),
      celsius_(celsius),
      plot_(this),
      files_(this, std::move(roasts_folder)) {
    setWindowTitle(QStringLiteral("Compare roasts"));
    resize(1000, 720);
    for (const Entry& entry : entries_) roasts_.push_back(CompareEntry(entry.log, entry.path.toStdString()));

    alignment_ = new QComboBox(this);
    for (const auto& a : kAlignments) alignment_->addItem(QString::fromUtf8(a.text));
    connect(alignment_, &QComboBox::currentIndexChanged, this,
            [this](int index) { AlignAt(kAlignments[std::max(index, 0)].point); });
    // The choice and the buttons wrap in a narrow window (beside the panel
    // on a small screen).
    auto* top = new FlowLayout(nullptr, 6);
    auto* aligned = new QWidget(this);
    auto* aligned_row = new QHBoxLayout(aligned);
    aligned_row->setContentsMargins(0, 0, 0, 0);
    aligned_row->addWidget(new QLabel(QStringLiteral("Aligned at"), aligned));
    aligned_row->addWidget(alignment_);
    aligned_row->addStretch(1);
    aligned->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    top->addWidget(aligned);
    for (const QString& text : {kSavePicture, kSaveTable}) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(text);
        b->setAutoDefault(false);
        top->addWidget(b);
    }
    connect(button(kSavePicture), &QPushButton::clicked, this,
            [this] { files_.SavePicture(picture_, QStringLiteral("Roast comparison")); });
    connect(button(kSaveTable), &QPushButton::clicked, this,
            [this] { files_.SaveTable(ComparisonCsv(roasts_, celsius_), QStringLiteral("Roast comparison")); });

    table_ = new QTableWidget(this);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->verticalHeader()->hide();
    QStringList titles;
    for (const CompareColumnInfo& column : CompareColumns()) titles << QString::fromUtf8(column.title);
    table_->setColumnCount(static_cast<int>(titles.size()));
    table_->setHorizontalHeaderLabels(titles);
    for (int c = 0; c < table_->columnCount(); ++c)
        if (CompareColumns()[static_cast<std::size_t>(c)].column == CompareColumn::RoastTime)
            table_->horizontalHeaderItem(c)->setToolTip(
                QStringLiteral("From the start to the drop (the last reading without a drop mark), the cooling left out"));
    table_->setRowCount(static_cast<int>(roasts_.size()) + 2);

    // The chart above the table, under a line that says what the roasts
    // are aligned at; "Save picture…" saves all three.
    picture_ = new QWidget(this);
    picture_->setAutoFillBackground(true);
    aligned_text_ = new QLabel(picture_);
    auto* chart_and_table = new QSplitter(Qt::Vertical, picture_);
    chart_and_table->addWidget(plot_.view());
    chart_and_table->addWidget(table_);
    chart_and_table->setStretchFactor(0, 3);
    chart_and_table->setStretchFactor(1, 1);
    chart_and_table->setChildrenCollapsible(false);
    // The chart gets the room and keeps enough to read; the table shows
    // its rows and scrolls, sideways too.
    plot_.view()->setMinimumHeight(220);
    table_->setMinimumHeight(110);
    chart_and_table->setSizes({520, 200});
    auto* picture_layout = new QVBoxLayout(picture_);
    picture_layout->setContentsMargins(0, 0, 0, 0);
    picture_layout->setSpacing(2);
    picture_layout->addWidget(aligned_text_);
    picture_layout->addWidget(chart_and_table, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(picture_, 1);

    Redraw();
}

QString RoastCompareWindow::NameOf(std::size_t index) const {
    const RoastSummary& roast = roasts_[index].summary;
    // "2026-12-08 14:03 Kenya AA": the start to the minute, then the bean
    // or else the profile.
    QString name = FromStd(StartText(roast.start)).left(16);
    const std::string& what = roast.bean.empty() ? roast.profile : roast.bean;
    if (!what.empty()) name += QStringLiteral(" ") + FromStd(what);
    if (index < alignment_of_.size() && !alignment_of_[index].at_point)
        name += QStringLiteral(" (no %1)").arg(alignment_->currentText().toLower());
    return name;
}

void RoastCompareWindow::AlignAt(AlignPoint point) {
    if (point == point_ && !alignment_of_.empty()) return;
    point_ = point;
    for (int i = 0; i < alignment_->count(); ++i)
        if (kAlignments[i].point == point) alignment_->setCurrentIndex(i);
    Redraw();
}

bool RoastCompareWindow::Compares(const QStringList& paths) const {
    QStringList mine;
    for (const Entry& entry : entries_) mine << entry.path;
    QStringList theirs = paths;
    mine.sort();
    theirs.sort();
    return mine == theirs;
}

void RoastCompareWindow::SetCelsius(bool celsius) {
    if (celsius == celsius_) return;
    celsius_ = celsius;
    Redraw();
}

void RoastCompareWindow::Redraw() {
    alignment_of_ = AlignRoasts(roasts_, point_);
    aligned_text_->setText(QStringLiteral("Aligned at: %1").arg(alignment_->currentText().toLower()));
    std::vector<ComparePlot::Roast> drawn;
    for (std::size_t i = 0; i < roasts_.size(); ++i)
        drawn.push_back({&entries_[i].log, NameOf(i), ColourOf(i), alignment_of_[i].offset_s});
    plot_.Draw(drawn, celsius_);
    FillTable();
}

void RoastCompareWindow::FillTable() {
    const std::vector<CompareColumnInfo>& columns = CompareColumns();
    auto put = [this, &columns](int row, int column, const QString& text) {
        auto* item = new QTableWidgetItem(text);
        // Numbers to the right, so their digits line up; texts to the left.
        const bool number = columns[static_cast<std::size_t>(column)].kind != ColumnKind::Text;
        item->setTextAlignment((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        table_->setItem(row, column, item);
        return item;
    };
    for (std::size_t r = 0; r < roasts_.size(); ++r) {
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const CompareColumnInfo& info = columns[c];
            QString text = info.kind == ColumnKind::Text ? FromStd(ColumnText(roasts_[r], info.column))
                                                         : ValueText(info.kind, ColumnValue(roasts_[r], info.column, celsius_), celsius_);
            if (info.column == CompareColumn::Start) text = FromStd(StartText(text.toStdString()));
            QTableWidgetItem* item = put(static_cast<int>(r), static_cast<int>(c), text);
            if (c == 0) item->setIcon(Swatch(ColourOf(r)));
        }
    }
    // The mean and the spread (standard deviation) of every number, over
    // the roasts that have it.
    const int mean_row = static_cast<int>(roasts_.size());
    put(mean_row, 0, QStringLiteral("Mean"));
    put(mean_row + 1, 0, QStringLiteral("Spread (standard deviation)"));
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const CompareColumnInfo& info = columns[c];
        if (info.kind == ColumnKind::Text) continue;
        const ColumnSpread spread = SpreadOf(roasts_, info.column, celsius_);
        put(mean_row, static_cast<int>(c), ValueText(info.kind, spread.mean, celsius_));
        // A spread of temperatures is a difference of degrees.
        put(mean_row + 1, static_cast<int>(c), ValueText(info.kind, spread.deviation, celsius_));
    }
    for (int row : {mean_row, mean_row + 1})
        for (int c = 0; c < table_->columnCount(); ++c)
            if (QTableWidgetItem* item = table_->item(row, c)) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
    table_->resizeColumnsToContents();
}

QString RoastCompareWindow::aligned_text() const { return aligned_text_->text(); }

QPushButton* RoastCompareWindow::button(const QString& text) const { return findChild<QPushButton*>(text); }
