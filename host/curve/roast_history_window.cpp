#include "roast_history_window.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

#include "curve_scales.h"
#include "curve_text.h"
#include "program_names.h"
#include "roast_log_text.h"
#include "roast_phases.h"

namespace {

const QString kOpen = QStringLiteral("Open");
const QString kBackground = QStringLiteral("Show as background");
const QString kDelete = QStringLiteral("Delete\u2026");
const QString kRoastAgain = QStringLiteral("Roast again");

// Cells sort by this role: numbers as numbers, a missing value first.
constexpr int kSortRole = Qt::UserRole + 1;
constexpr int kPathRole = Qt::UserRole + 2;
constexpr double kMissing = std::numeric_limits<double>::lowest();

enum Column { kStart, kProfile, kBean, kDuration, kEndTemperature, kWeightLoss, kColumns };

QStandardItem* Cell(const QString& text, const QVariant& sort_key) {
    auto* item = new QStandardItem(text);
    item->setEditable(false);
    item->setData(sort_key, kSortRole);
    return item;
}

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

RoastHistoryWindow::RoastHistoryWindow(QString roasts_folder, QWidget* parent)
    : QWidget(parent, Qt::Window), folder_(std::move(roasts_folder)) {
    setWindowTitle(QStringLiteral("Roast history"));
    resize(760, 420);

    ask_yes_no = [this](const QString& question) {
        return QMessageBox::question(this, kProgramName, question, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    };

    model_ = new QStandardItemModel(0, kColumns, this);
    model_->setHorizontalHeaderLabels({QStringLiteral("Started"), QStringLiteral("Profile"), QStringLiteral("Bean"),
                                       QStringLiteral("Duration"), QStringLiteral("End temperature"),
                                       QStringLiteral("Weight loss")});
    model_->setSortRole(kSortRole);
    table_ = new QTableView(this);
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setSortingEnabled(true);
    table_->sortByColumn(kStart, Qt::DescendingOrder);
    connect(table_, &QTableView::doubleClicked, this, &RoastHistoryWindow::OpenChosen);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &RoastHistoryWindow::UpdateButtons);

    auto* buttons = new QHBoxLayout;
    const std::pair<QString, void (RoastHistoryWindow::*)()> actions[] = {
        {kOpen, &RoastHistoryWindow::OpenChosen},
        {kBackground, &RoastHistoryWindow::ShowChosenAsBackground},
        {kRoastAgain, &RoastHistoryWindow::RoastChosenAgain},
        {kDelete, &RoastHistoryWindow::DeleteChosen}};
    for (const auto& [text, action] : actions) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(text);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, action);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);
    UpdateButtons();
}

void RoastHistoryWindow::Refresh() {
    if (!isVisible()) {
        stale_ = true;
        return;
    }
    stale_ = false;
    roasts_ = ListRoastLogs(folder_.toStdString());
    Fill();
}

void RoastHistoryWindow::SetCelsius(bool celsius) {
    if (celsius == celsius_) return;
    celsius_ = celsius;
    Fill();
}

void RoastHistoryWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Refresh();
}

void RoastHistoryWindow::Fill() {
    const QString chosen = ChosenPath();
    model_->removeRows(0, model_->rowCount());
    const QString unit = celsius_ ? QStringLiteral(" \u00b0C") : QStringLiteral(" \u00b0F");
    for (const RoastSummary& roast : roasts_) {
        QList<QStandardItem*> row;
        row << Cell(FromStd(StartText(roast.start)), FromStd(roast.start));
        row << Cell(FromStd(roast.profile), FromStd(roast.profile).toLower());
        row << Cell(FromStd(roast.bean), FromStd(roast.bean).toLower());
        if (!roast.problem.empty()) {
            for (int c = kDuration; c < kColumns; ++c) row << Cell(QString(), kMissing);
            for (QStandardItem* item : row) {
                item->setForeground(Qt::gray);
                item->setToolTip(QStringLiteral("Cannot read %1: %2").arg(QFileInfo(FromStd(roast.path)).fileName(),
                                                                       FromStd(roast.problem)));
            }
        } else {
            QString duration = FromStd(MinutesSeconds(roast.duration_s));
            if (roast.incomplete) duration += QStringLiteral(" (incomplete)");
            row << Cell(duration, roast.duration_s);
            row << (roast.end_bean_f ? Cell(QString::number(std::lround(TemperatureInUnit(*roast.end_bean_f, celsius_))) + unit,
                                            double(*roast.end_bean_f))
                                     : Cell(QString(), kMissing));
            row << (roast.weight_loss ? Cell(FromStd(OneDecimal(*roast.weight_loss)) + QStringLiteral(" %"), *roast.weight_loss)
                                      : Cell(QString(), kMissing));
            if (roast.incomplete)
                row[kDuration]->setToolTip(QStringLiteral("The roast did not run to its end"));
        }
        row[0]->setData(FromStd(roast.path), kPathRole);
        model_->appendRow(row);
    }
    // The rows come newest first; the table keeps the order the user chose.
    const QHeaderView* header = table_->horizontalHeader();
    model_->sort(header->sortIndicatorSection(), header->sortIndicatorOrder());
    for (int r = 0; r < model_->rowCount(); ++r)
        if (model_->item(r, 0)->data(kPathRole).toString() == chosen) table_->selectRow(r);
    // The last column stretches to the window's edge.
    for (int c = 0; c + 1 < kColumns; ++c) table_->resizeColumnToContents(c);
    UpdateButtons();
}

QString RoastHistoryWindow::ChosenPath() const {
    const QModelIndexList rows = table_->selectionModel()->selectedRows();
    if (rows.isEmpty()) return {};
    return model_->item(rows.first().row(), 0)->data(kPathRole).toString();
}

void RoastHistoryWindow::UpdateButtons() {
    const bool chosen = !ChosenPath().isEmpty();
    for (const QString& text : {kOpen, kBackground, kRoastAgain, kDelete}) button(text)->setEnabled(chosen);
}

void RoastHistoryWindow::OpenChosen() {
    const QString path = ChosenPath();
    if (!path.isEmpty() && open_roast) open_roast(path);
}

void RoastHistoryWindow::ShowChosenAsBackground() {
    const QString path = ChosenPath();
    if (!path.isEmpty() && show_as_background) show_as_background(path);
}

void RoastHistoryWindow::RoastChosenAgain() {
    const QString path = ChosenPath();
    if (!path.isEmpty() && roast_again) roast_again(path);
}

void RoastHistoryWindow::DeleteChosen() {
    const QString path = ChosenPath();
    if (path.isEmpty()) return;
    if (!ask_yes_no(QStringLiteral("Delete the roast log %1?").arg(QFileInfo(path).fileName()))) return;
    const FileResult deleted = DeleteRoastLog(path.toStdString());
    if (!deleted.ok) {
        auto* box = new QMessageBox(QMessageBox::Warning, kProgramName,
                                    QStringLiteral("Cannot delete the roast log %1: %2").arg(path, FromStd(deleted.reason)),
                                    QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    }
    Refresh();
}

QString RoastHistoryWindow::cell(int row, int column) const {
    const QStandardItem* item = model_->item(row, column);
    return item ? item->text() : QString();
}

void RoastHistoryWindow::Choose(int row) { table_->selectRow(row); }

QPushButton* RoastHistoryWindow::button(const QString& text) const { return findChild<QPushButton*>(text); }
