#include "roast_history_window.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "flow_layout.h"
#include "program_names.h"
#include "roast_history_filter.h"
#include "roast_history_model.h"
#include "warning_box.h"
#include "window_settings.h"

namespace {

const QString kOpen = QStringLiteral("Open");
const QString kBackground = QStringLiteral("Show as background");
const QString kDelete = QStringLiteral("Delete\u2026");
const QString kCompare = QStringLiteral("Compare");
// The columns' widths and the sort, kept between runs.
const QString kColumnsKey = QStringLiteral("history/columns");
const QString kRoastAgain = QStringLiteral("Roast again");
const QString kPlanProgram = QStringLiteral("Plan a program");
const QString kExport = QStringLiteral("Export for Artisan\u2026");

QDateEdit* DateEdit(QWidget* parent, const QDate& date) {
    auto* edit = new QDateEdit(date, parent);
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edit->setEnabled(false);
    return edit;
}

}  // namespace

RoastHistoryWindow::RoastHistoryWindow(QString roasts_folder, QWidget* parent)
    : QWidget(parent, Qt::Window), folder_(std::move(roasts_folder)) {
    setWindowTitle(QStringLiteral("Roast history"));
    resize(760, 420);

    ask_yes_no = [this](const QString& question) {
        return QMessageBox::question(this, kProgramName, question, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    };

    model_ = new RoastHistoryModel(this);
    filter_ = new RoastHistoryFilter(model_, this);
    table_ = new QTableView(this);
    table_->setModel(filter_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Several roasts are chosen to compare them (Ctrl- and Shift-click).
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setSortingEnabled(true);
    table_->sortByColumn(RoastHistoryModel::kStart, Qt::DescendingOrder);
    // The widths and the sort the user left, once they exist.
    QHeaderView* header = table_->horizontalHeader();
    fitted_ = header->restoreState(WindowSettings().value(kColumnsKey).toByteArray());
    // Widths all as a new table has them were kept by an earlier version
    // before the columns were ever fitted, not set by the user: fitted.
    bool untouched = true;
    for (int c = 0; c + 1 < RoastHistoryModel::kColumns; ++c)
        untouched = untouched && header->sectionSize(c) == header->defaultSectionSize();
    if (untouched) fitted_ = false;
    auto keep_columns = [this] {
        // What the user set, not what the window fitted: nothing before the
        // columns are fitted to the roasts (the last column stretching as
        // the window first shows would keep the untouched widths as if the
        // user had chosen them, and they would never be fitted again).
        if (isVisible() && fitted_ && !fitting_)
            WindowSettings().setValue(kColumnsKey, table_->horizontalHeader()->saveState());
    };
    connect(table_->horizontalHeader(), &QHeaderView::sectionResized, this, keep_columns);
    connect(table_->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this, keep_columns);
    connect(table_, &QTableView::doubleClicked, this, &RoastHistoryWindow::OpenChosen);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &RoastHistoryWindow::UpdateButtons);

    // Narrowing the list: words of the profile, bean or notes, and dates.
    search_ = new QLineEdit(this);
    search_->setPlaceholderText(QStringLiteral("Search profile, bean, notes"));
    search_->setClearButtonEnabled(true);
    connect(search_, &QLineEdit::textChanged, this, [this](const QString& text) {
        filter_->SetText(text);
        ShownChanged();
    });
    const QDate today = QDate::currentDate();
    from_on_ = new QCheckBox(QStringLiteral("From"), this);
    from_ = DateEdit(this, today.addMonths(-1));
    to_on_ = new QCheckBox(QStringLiteral("to"), this);
    to_ = DateEdit(this, today);
    for (QCheckBox* box : {from_on_, to_on_}) connect(box, &QCheckBox::toggled, this, &RoastHistoryWindow::ApplyDates);
    for (QDateEdit* edit : {from_, to_}) connect(edit, &QDateEdit::dateChanged, this, &RoastHistoryWindow::ApplyDates);
    // The filters and the buttons wrap onto more rows in a narrow window
    // (beside the panel on a small screen).
    auto* filters = new FlowLayout(nullptr, 6);
    search_->setMinimumWidth(160);
    search_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    filters->addWidget(search_);
    auto* dates = new QWidget(this);
    auto* range = new QHBoxLayout(dates);
    range->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : std::initializer_list<QWidget*>{from_on_, from_, to_on_, to_}) range->addWidget(w);
    filters->addWidget(dates);

    auto* buttons = new FlowLayout(nullptr, 6);
    const std::pair<QString, void (RoastHistoryWindow::*)()> actions[] = {
        {kOpen, &RoastHistoryWindow::OpenChosen},
        {kBackground, &RoastHistoryWindow::ShowChosenAsBackground},
        {kRoastAgain, &RoastHistoryWindow::RoastChosenAgain},
        {kPlanProgram, &RoastHistoryWindow::PlanChosen},
        {kDelete, &RoastHistoryWindow::DeleteChosen},
        {kCompare, &RoastHistoryWindow::CompareChosen},
        {kExport, &RoastHistoryWindow::ExportChosen}};
    for (const auto& [text, action] : actions) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(text);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, action);
        buttons->addWidget(b);
    }
    count_ = new QLabel(this);
    // "Reading… 120 of 5000 roasts" needs no more room than a count: the
    // window may be narrow beside the panel. It takes the rest of its row.
    count_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    count_->setMinimumWidth(count_->fontMetrics().horizontalAdvance(QStringLiteral("99999 roasts")));
    count_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    buttons->addWidget(count_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);

    loader_.on_batch = [this](const RoastHistoryLoader::Batch& batch) { OnBatch(batch); };
    loader_.on_finished = [this] { OnLoaded(); };
    UpdateButtons();
}

RoastHistoryWindow::~RoastHistoryWindow() = default;

void RoastHistoryWindow::Refresh() {
    if (!isVisible()) {
        stale_ = true;
        return;
    }
    stale_ = false;
    model_->BeginListing();
    loader_.Load(folder_);
    UpdateCount();
}

void RoastHistoryWindow::SetCelsius(bool celsius) { model_->SetCelsius(celsius); }

void RoastHistoryWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Refresh();
}

void RoastHistoryWindow::OnBatch(const RoastHistoryLoader::Batch& batch) {
    model_->Merge(batch);
    if (!fitted_ && model_->rowCount() > 0) FitColumns();
    UpdateCount();
}

void RoastHistoryWindow::OnLoaded() {
    model_->RemoveUnlisted();
    if (!fitted_) FitColumns();
    UpdateCount();
    UpdateButtons();
}

void RoastHistoryWindow::FitColumns() {
    fitted_ = true;
    fitting_ = true;
    // The last column stretches to the window's edge.
    for (int c = 0; c + 1 < RoastHistoryModel::kColumns; ++c) table_->resizeColumnToContents(c);
    fitting_ = false;
}

void RoastHistoryWindow::ApplyDates() {
    from_->setEnabled(from_on_->isChecked());
    to_->setEnabled(to_on_->isChecked());
    filter_->SetDates(from_on_->isChecked() ? from_->date() : QDate(), to_on_->isChecked() ? to_->date() : QDate());
    ShownChanged();
}

void RoastHistoryWindow::ShownChanged() {
    // Only the roasts shown stay chosen (the table keeps those of the rows
    // still there), and the buttons follow the choice, which the table
    // does not tell of when rows go.
    UpdateCount();
    UpdateButtons();
}

void RoastHistoryWindow::UpdateCount() {
    const int all = model_->rowCount(), shown = filter_->rowCount();
    QString text = filter_->Filtering() ? QStringLiteral("%1 of %2 roasts").arg(shown).arg(all)
                                        : QStringLiteral("%1 roasts").arg(all);
    if (loader_.loading()) text = QStringLiteral("Reading\u2026 ") + text;
    count_->setText(text);
}

QStringList RoastHistoryWindow::ChosenPaths() const {
    QModelIndexList rows = table_->selectionModel()->selectedRows();
    // In the order the list shows them.
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QStringList paths;
    for (const QModelIndex& row : rows) {
        // A log that does not read has no curve to compare or open.
        if (!row.data(RoastHistoryModel::kProblemRole).toString().isEmpty()) continue;
        paths << row.data(RoastHistoryModel::kPathRole).toString();
    }
    return paths;
}

QString RoastHistoryWindow::ChosenPath() const {
    const QModelIndexList rows = table_->selectionModel()->selectedRows();
    if (rows.size() != 1) return {};
    return rows.first().data(RoastHistoryModel::kPathRole).toString();
}

void RoastHistoryWindow::UpdateButtons() {
    const bool chosen = !ChosenPath().isEmpty();
    for (const QString& text : {kOpen, kBackground, kRoastAgain, kDelete}) button(text)->setEnabled(chosen);
    const QModelIndexList rows = table_->selectionModel()->selectedRows();
    const bool steered = chosen && rows.first().data(RoastHistoryModel::kSteeredRole).toBool();
    button(kRoastAgain)->setToolTip(steered ? kRoastAgainSteeredTip : kRoastAgainTip);
    button(kPlanProgram)->setVisible(static_cast<bool>(plan_program));
    button(kPlanProgram)->setEnabled(chosen && plan_available_);
    button(kPlanProgram)->setToolTip(plan_available_ ? kPlanShownTip : plan_unavailable_why_);
    const qsizetype comparable = ChosenPaths().size();
    button(kCompare)->setEnabled(comparable >= 2 && comparable <= kMostCompared);
    button(kExport)->setEnabled(comparable >= 1);
    button(kExport)->setToolTip(QStringLiteral("Writes the chosen roasts as Artisan profiles (.alog): one to a file, "
                                               "several into a folder"));
    button(kCompare)->setToolTip(comparable > kMostCompared
                                     ? QStringLiteral("Compares up to %1 roasts at a time").arg(kMostCompared)
                                     : QStringLiteral("Draws the chosen roasts together, with a table of each "
                                                      "(choose two or more with Ctrl- or Shift-click)"));
}

void RoastHistoryWindow::CompareChosen() {
    const QStringList paths = ChosenPaths();
    if (paths.size() >= 2 && paths.size() <= kMostCompared && compare) compare(paths);
}

void RoastHistoryWindow::ExportChosen() {
    const QStringList paths = ChosenPaths();
    if (!paths.isEmpty() && export_for_artisan) export_for_artisan(paths);
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

void RoastHistoryWindow::PlanChosen() {
    const QString path = ChosenPath();
    if (!path.isEmpty() && plan_program) plan_program(path);
}

void RoastHistoryWindow::SetPlanAvailable(bool available, const QString& why) {
    plan_available_ = available;
    plan_unavailable_why_ = why;
    UpdateButtons();
}

void RoastHistoryWindow::DeleteChosen() {
    const QString path = ChosenPath();
    if (path.isEmpty()) return;
    if (!ask_yes_no(QStringLiteral("Delete the roast log %1?").arg(QFileInfo(path).fileName()))) return;
    const FileResult deleted = DeleteRoastLog(path.toStdString());
    if (!deleted.ok) {
        ShowWarning(this, QStringLiteral("Cannot delete the roast log %1: %2")
                              .arg(path, QString::fromStdString(deleted.reason)));
        Refresh();  // the folder is not what the list says
        return;
    }
    loader_.cache().Forget(path.toStdString());
    model_->Remove(path);
    UpdateCount();
    UpdateButtons();
}

QString RoastHistoryWindow::cell(int row, int column) const { return filter_->index(row, column).data().toString(); }

void RoastHistoryWindow::Choose(int row) { table_->selectRow(row); }

QPushButton* RoastHistoryWindow::button(const QString& text) const { return findChild<QPushButton*>(text); }
