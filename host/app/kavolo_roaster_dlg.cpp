#include "kavolo_roaster_dlg.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QGuiApplication>
#include <QScreen>
#include <QTextEdit>
#include <QTime>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <exception>

#include "about_dlg.h"
#include "control_help.h"
#include "control_ids.h"
#include "editor_message.h"
#include "key_translation.h"
#include "live_roast_curve.h"
#include "panel_layout.h"
#include "picture_control.h"
#include "picture_ids.h"
#include "program_names.h"
#include "roast_session.h"
#include "skin_button.h"
#include "temperature_window.h"
#include "timer_bank.h"

namespace {

const QString kFileFilter = QStringLiteral("Coffee Setting (*.coff)");

struct ButtonEntry {
    int id;
    const char* caption;
    bool hold_capable;  // CMyButton: press and release feed the hold logic
};

// In the order the window binds them.
constexpr ButtonEntry kButtons[] = {
    {ctl::kCancel, "CANCEL", false}, {ctl::kCreate, "CREATE", false}, {ctl::kDelet, "DELET", false},
    {ctl::kDown, "DOWN", true},      {ctl::kEdit, "EDIT", false},     {ctl::kMode, "MODEE", false},
    {ctl::kPower, "POWER", true},    {ctl::kRight, "RIGHT", true},    {ctl::kSave, "SAVE", false},
    {ctl::kSelect, "SELECT", false}, {ctl::kUp, "UP", true},          {ctl::kProgram, "PROGRAM", false},
};

// Picture controls with the picture each starts with, which gives its size.
struct PictureEntry {
    int id;
    int first_picture;
};
constexpr PictureEntry kPictures[] = {
    {ctl::kFanDigit, pic::Digit(5)},        {ctl::kTensDigit, pic::DigitWithPoint(5)},
    {ctl::kUnitsDigit, pic::Digit(9)},      {ctl::kHeatLow, pic::kLampOff},
    {ctl::kHeatMid, pic::kLampOff},         {ctl::kHeatHigh, pic::kLampOff},
    {ctl::kLinkLamp, pic::kLampOff},        {ctl::kClockIcon, pic::kSelectPlate},
};

QString FromStd(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<int>(text.size())); }

ClockTime ToClock(const QTime& t) { return ClockTime{t.hour(), t.minute(), t.second()}; }

std::optional<FileChoice> ToChoice(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    // Name and path are both UTF-8: the name box shows the name, and the
    // file functions take UTF-8 paths on every platform (on Windows they
    // widen them), where the file system's 8-bit encoding would lose
    // characters outside the ANSI code page.
    return FileChoice{QFileInfo(path).fileName().toStdString(), path.toStdString()};
}

// A font of the first family installed, for systems without the family
// the panel was drawn for.
QFont FontOf(const QStringList& families) {
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace

CKavoloRoasterDlg::CKavoloRoasterDlg(SerialControl& com, PortLister& ports, const EditorFactory& editor,
                                     const QString& roasts_folder, QWidget* parent)
    : QDialog(parent), editor_(editor(this)) {
    setWindowTitle(QStringLiteral("Kavolo QL-900"));
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) icon.addPixmap(SkinArt::Icon(size));
    setWindowIcon(icon);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    controller_ = std::make_unique<RoasterController>(*this, editor_, com, ports);
    roast_ = std::make_unique<RoastSession>(*controller_, this, roasts_folder);
    // The roast windows open beside the panel, and the panel's keys work in
    // the curve window too.
    LiveRoastCurve& curve = roast_->curve();
    curve.panel_where = [this] { return Where(); };
    curve.share_panel_keys = [this](QWidget& window) { ShareKeys(window); };
    curve.show_panel = [this] { BringForward(); };
    // A roast made again gets a name the name box shows whole.
    // So does a planned program.
    const auto name_fits = [this](const std::string& name) {
        const QRect room = name_box_->contentsRect().marginsRemoved(name_box_->textMargins());
        return QFontMetrics(name_box_->font()).horizontalAdvance(FromStd(name)) <= room.width() - 4;
    };
    roast_->roast_again().name_fits = name_fits;
    roast_->planning().name_fits = name_fits;
    timers_ = std::make_unique<TimerBank>(
        [this](int id) { Forward("timer", [this, id] { controller_->OnTimer(id); }); }, this);
    BuildControls();
}

CKavoloRoasterDlg::~CKavoloRoasterDlg() {
    timers_->KillAll();
    roast_->Close();
    if (filtered_window_) filtered_window_->removeEventFilter(this);
    for (const SharedWindow& shared : shared_windows_)
        if (shared.handle) shared.handle->removeEventFilter(this);
}

template <typename F>
void CKavoloRoasterDlg::Forward(const char* what, F&& action) {
    try {
        action();
    } catch (const std::exception& e) {
        qWarning("Kavolo Roaster: %s failed: %s", what, e.what());
    } catch (...) {
        qWarning("Kavolo Roaster: %s failed", what);
    }
}

// --- construction ------------------------------------------------------------

void CKavoloRoasterDlg::BuildControls() {
    background_ = new QLabel(this);
    background_->setPixmap(art_.Picture(pic::kSkin));
    background_->move(0, 0);
    background_->resize(background_->pixmap().size());
    controls_[ctl::kBackground] = background_;

    for (const PictureEntry& entry : kPictures) {
        auto* picture = new PictureControl(entry.id, art_, this);
        picture->SetPicture(entry.first_picture);
        picture->resize(art_.Picture(entry.first_picture).size());
        pictures_[entry.id] = picture;
        controls_[entry.id] = picture;
    }
    clock_icon_ = pictures_[ctl::kClockIcon];
    clock_icon_->setCursor(Qt::PointingHandCursor);
    connect(clock_icon_, &PictureControl::clicked, this,
            [this] { Forward("clock icon", [this] { controller_->OnButtonClicked(ctl::kClockIcon); }); });

    temperature_ = new TemperatureWindow(
        art_,
        [this] {
            const ControllerState& s = controller_->state();
            return TemperatureWindow::Reading{s.temperature, s.show_celsius != 0};
        },
        this);
    temperature_->resize(art_.Picture(pic::kTemperatureCelsius).size());
    controls_[ctl::kTemperature] = temperature_;
    connect(temperature_, &QAbstractButton::clicked, this,
            [this] { Forward("temperature window", [this] { controller_->OnButtonClicked(ctl::kTemperature); }); });

    name_box_ = new QLineEdit(this);
    name_box_->setFrame(false);
    name_box_->setReadOnly(true);  // it only displays the profile's name
    name_box_->setContextMenuPolicy(Qt::NoContextMenu);
    name_box_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    name_box_->setTextMargins(6, 0, 6, 0);
    controls_[ctl::kNameBox] = name_box_;

    clock_picker_ = new QTimeEdit(this);
    clock_picker_->setDisplayFormat(QStringLiteral("h:mm:ss AP"));
    clock_picker_->setAlignment(Qt::AlignCenter);
    clock_picker_->setContextMenuPolicy(Qt::NoContextMenu);
    controls_[ctl::kClockPicker] = clock_picker_;
    connect(clock_picker_, &QTimeEdit::timeChanged, this,
            [this] { Forward("clock picker", [this] { controller_->OnClockChanged(); }); });

    for (const ButtonEntry& entry : kButtons) {
        SkinButton* button = nullptr;
        if (entry.hold_capable) {
            auto* hold = new CMyButton(entry.id, QString::fromLatin1(entry.caption), this);
            hold->on_press = [this](int id) { Forward("button press", [this, id] { controller_->OnButtonPressed(id); }); };
            hold->on_release = [this] { Forward("button release", [this] { controller_->OnButtonReleased(); }); };
            button = hold;
        } else {
            button = new DarwButton(entry.id, QString::fromLatin1(entry.caption), this);
        }
        const int id = entry.id;
        connect(button, &QAbstractButton::clicked, this,
                [this, id] { Forward("button click", [this, id] { controller_->OnButtonClicked(id); }); });
        buttons_[entry.id] = button;
        controls_[entry.id] = button;
    }
    // The picker lies over the clock icon and is shown in its place.
    clock_picker_->raise();

    for (const ControlHelp& help : kControlHelp) {
        QWidget* control = Control(help.control);
        if (!control) continue;
        const QString text = QString::fromUtf8(help.help);
        if (help.control == ctl::kNameBox) name_help_ = text;
        control->setToolTip(text);
        control->setAccessibleName(QString::fromUtf8(help.name));
        control->setAccessibleDescription(text);
    }
}

// --- initialisation ----------------------------------------------------------

void CKavoloRoasterDlg::OnInitDialog() {
    if (initialised_) return;
    initialised_ = true;
    BindSkinButtons();
    LayOutPanel();
    SetUpFonts();
    SetUpColours();
    PlacePanel();

    // Keys are read where they enter this window, before any of its
    // widgets sees them, so each press reaches the key filter once.
    if (!windowHandle()) create();
    filtered_window_ = windowHandle();
    if (filtered_window_) filtered_window_->installEventFilter(this);

    Forward("start", [this] { controller_->Start(); });
}

int CKavoloRoasterDlg::exec() {
    OnInitDialog();
    if (ended_) return result();
    return QDialog::exec();
}

void CKavoloRoasterDlg::BindSkinButtons() {
    for (const ButtonEntry& entry : kButtons) buttons_[entry.id]->AutoLoad(art_);
}

void CKavoloRoasterDlg::LayOutPanel() {
    setFixedSize(layout::kSkinWidth, layout::kSkinHeight);
    display_scale_ = DisplayScale(static_cast<float>(logicalDpiY()));
    background_->setGeometry(0, 0, layout::kSkinWidth, layout::kSkinHeight);
    for (const Placement& place : kPlacementTable) {
        QWidget* control = Control(place.control);
        if (!control) continue;
        if (place.width > 0)
            control->setGeometry(place.x, place.y, place.width, place.height);
        else
            control->move(place.x, place.y);
    }
}

void CKavoloRoasterDlg::PlacePanel() {
    // Where the user left it, while that is on a screen; else where the
    // roast windows have room beside it.
    auto* placer = new WindowPlacer(*this, QStringLiteral("panel"), QSize(), WindowPlacer::Kept::Position);
    placer->start = [this](QSize frame) {
        const QScreen* on = screen() ? screen() : QGuiApplication::primaryScreen();
        const QRect area = on ? on->availableGeometry() : QRect(QPoint(0, 0), frame);
        return PanelStart(area, frame, kLeastBesidePanel.width());
    };
    placer->PlaceOnce();
}

void CKavoloRoasterDlg::SetUpFonts() {
    name_font_ = FontOf({"Microsoft Sans Serif", "Liberation Sans", "Arial", "Nimbus Sans", "DejaVu Sans"});
    name_font_.setPointSizeF(NameFontTenths(display_scale_) / 10.0);
    name_box_->setFont(name_font_);
    temperature_->SetTextFont(name_font_);

    // The clock font is given by the height of its character cell: the
    // largest size whose line height still fits it.
    clock_font_ = FontOf({"Arial", "Liberation Sans", "Nimbus Sans", "DejaVu Sans"});
    clock_font_.setWeight(QFont::Normal);
    int pixels = layout::kClockFontCellHeight;
    for (; pixels > 8; --pixels) {
        clock_font_.setPixelSize(pixels);
        if (QFontMetrics(clock_font_).height() <= layout::kClockFontCellHeight) break;
    }
    clock_picker_->setFont(clock_font_);
}

void CKavoloRoasterDlg::SetUpColours() {
    // The window is erased white; controls draw on white.
    QPalette window_palette = palette();
    window_palette.setColor(QPalette::Window, Qt::white);
    setPalette(window_palette);
    setAutoFillBackground(true);
    SetNameColour(NameColour::Normal);
}

// --- controls by identifier --------------------------------------------------

QWidget* CKavoloRoasterDlg::Control(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

PictureControl* CKavoloRoasterDlg::Picture(int id) const {
    auto it = pictures_.find(id);
    return it == pictures_.end() ? nullptr : it->second;
}

SkinButton* CKavoloRoasterDlg::Button(int id) const {
    auto it = buttons_.find(id);
    return it == buttons_.end() ? nullptr : it->second;
}

// --- WindowServices ----------------------------------------------------------

void CKavoloRoasterDlg::SetTimer(int id, int period_ms) { timers_->SetTimer(id, period_ms); }

void CKavoloRoasterDlg::KillTimer(int id) { timers_->KillTimer(id); }

int CKavoloRoasterDlg::RunBox(const std::string& text, bool yes_no) {
    // A tick that runs while a box is open may repeat the same message;
    // a second box would stack on the first, and the next tick would open
    // a third, until the panel drowns in them.
    if (open_boxes_.count(text) != 0) return -1;
    auto guard = open_boxes_.insert(text);
    QMessageBox box(yes_no ? QMessageBox::Question : QMessageBox::Warning, kProgramName, FromStd(text),
                    yes_no ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, this);
    box_widgets_.push_back(&box);
    const int answer = box.exec();
    box_widgets_.erase(std::find(box_widgets_.begin(), box_widgets_.end(), &box));
    open_boxes_.erase(guard);
    ForgetHeldKeys();
    return answer;
}

void CKavoloRoasterDlg::MessageBox(const std::string& text) { RunBox(text, false); }

bool CKavoloRoasterDlg::AskYesNo(const std::string& text) {
    // The same question already waiting for its answer is not asked twice;
    // the repeat counts as No, which leaves everything as it was.
    return RunBox(text, true) == QMessageBox::Yes;
}

ClockTime CKavoloRoasterDlg::LocalTime() { return ToClock(QTime::currentTime()); }

ClockTime CKavoloRoasterDlg::PickerTime() { return ToClock(clock_picker_->time()); }

void CKavoloRoasterDlg::SetPickerTime(const ClockTime& time) {
    // Setting the picker is not a change by the user.
    const QSignalBlocker quiet(clock_picker_);
    clock_picker_->setTime(QTime(time.hour, time.minute, time.second));
}

void CKavoloRoasterDlg::ShowPicker(bool shown) { clock_picker_->setVisible(shown); }

void CKavoloRoasterDlg::EnablePicker(bool enabled) { clock_picker_->setEnabled(enabled); }

void CKavoloRoasterDlg::ShowClockIcon(bool shown) { clock_icon_->setVisible(shown); }

void CKavoloRoasterDlg::ShowName(const std::string& text) {
    // setText also empties the box's undo history.
    name_box_->setText(FromStd(text));
    name_box_->setCursorPosition(0);
    // A profile made from a roast shows a shortened name; its tooltip
    // keeps the whole one.
    const RoastAgain& again = roast_->roast_again();
    QString help = name_help_;
    if (!again.shown_name().empty() && text == again.shown_name() && again.whole_name() != again.shown_name())
        help = QStringLiteral("Profile: %1\n\n%2").arg(FromStd(again.whole_name()), help);
    name_box_->setToolTip(help);
}

void CKavoloRoasterDlg::SetNameColour(NameColour colour) {
    // Every idle tick sets the colour again; only a change repaints the box.
    const QColor text = colour == NameColour::Warning ? QColor(255, 0, 0) : QColor(0, 0, 0);
    QPalette p = name_box_->palette();
    if (p.color(QPalette::Text) == text && p.color(QPalette::Base) == Qt::white) return;
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Text, text);
    name_box_->setPalette(p);
}

void CKavoloRoasterDlg::SetPictureImage(int control, int picture) {
    if (PictureControl* target = Picture(control)) target->SetPicture(picture);
}

void CKavoloRoasterDlg::InvalidateTemperature() { temperature_->update(); }

std::optional<FileChoice> CKavoloRoasterDlg::AskOpenFile() {
    return ToChoice(QFileDialog::getOpenFileName(this, QString(), QString(), kFileFilter));
}

std::optional<FileChoice> CKavoloRoasterDlg::AskSaveFile() {
    // Qt's save dialog asks before it overwrites a file. A profile made
    // from a roast is suggested under its name, where profiles were last
    // saved.
    const QString path =
        QFileDialog::getSaveFileName(this, QString(), roast_->roast_again().SuggestedFile(), kFileFilter);
    RoastAgain::Saved(path);
    return ToChoice(path);
}

void CKavoloRoasterDlg::EndDialog(int result) {
    ended_ = true;
    // A roast still running is kept, marked incomplete.
    Forward("close", [this] { roast_->Close(); });
    setResult(result);
    // Boxes still open belong to the window that ends.
    for (QMessageBox* box : box_widgets_) box->done(QMessageBox::No);
    timers_->KillAll();
    QDialog::done(result);
}

// --- events ------------------------------------------------------------------

bool CKavoloRoasterDlg::event(QEvent* e) {
    if (e->type() == EditorMessageType() && e->type() != QEvent::None) {
        const int code = static_cast<EditorMessageEvent*>(e)->lparam;
        Forward("editor message", [this, code] { controller_->OnEditorMessage(code); });
        return true;
    }
    if (e->type() == QEvent::WindowDeactivate) ForgetHeldKeys();
    return QDialog::event(e);
}

void CKavoloRoasterDlg::ForgetHeldKeys() {
    // Keys let go while another window had the keyboard (a message box the
    // key itself opened, say) never report their release here; the window
    // then reads them as released, so the Alt+Enter count starts again.
    enter_held_ = false;
    KeyMessage release;
    release.kind = KeyKind::KeyUp;
    Forward("key release", [&] { controller_->PreTranslateMessage(release); });
}

bool CKavoloRoasterDlg::eventFilter(QObject* watched, QEvent* e) {
    const bool key = e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease;
    if (key && watched == filtered_window_) return FilterKey(static_cast<QKeyEvent*>(e), true);
    if (!key) return QDialog::eventFilter(watched, e);
    const QWidget* sharing = SharingWindow(watched);
    if (sharing && ForPanel(*sharing, static_cast<QKeyEvent*>(e))) return FilterKey(static_cast<QKeyEvent*>(e), false);
    return QDialog::eventFilter(watched, e);
}

QWidget* CKavoloRoasterDlg::SharingWindow(QObject* handle) const {
    for (const SharedWindow& shared : shared_windows_)
        if (shared.handle && shared.handle == handle) return shared.widget;
    return nullptr;
}

bool CKavoloRoasterDlg::ForPanel(const QWidget& window, QKeyEvent* key) const {
    // A field being typed into keeps its keys: the arrows move in it, Enter
    // ends it.
    const QWidget* focus = window.focusWidget();
    const auto* line = qobject_cast<const QLineEdit*>(focus);
    if ((line && !line->isReadOnly()) || qobject_cast<const QPlainTextEdit*>(focus) ||
        qobject_cast<const QTextEdit*>(focus) || qobject_cast<const QAbstractSpinBox*>(focus))
        return false;
    // A release goes on so the filter knows which keys are down.
    if (key->type() == QEvent::KeyRelease) return true;
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Tab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return true;
    case Qt::Key_S:
        return key->modifiers().testFlag(Qt::AltModifier);
    default:
        return false;
    }
}

void CKavoloRoasterDlg::ShareKeys(QWidget& window) {
    // The window system's window of a shown window; making one before it
    // shows (winId) leaves the panel's own pictures unpainted on X11.
    QWindow* handle = window.windowHandle();
    if (!handle || SharingWindow(handle)) return;
    handle->installEventFilter(this);
    shared_windows_.push_back({handle, &window});
}

void CKavoloRoasterDlg::BringForward() {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
}

std::optional<PanelWhere> CKavoloRoasterDlg::Where() const {
    const QScreen* on = screen();
    if (!on || !isVisible()) return std::nullopt;
    PanelWhere where;
    where.screen.area = on->availableGeometry();
    where.screen.panel = frameGeometry();
    // The keys a roast is run with.
    for (int id : {ctl::kPower, ctl::kUp, ctl::kDown, ctl::kRight, ctl::kMode}) {
        const QWidget* key = Control(id);
        if (key) where.screen.keys.emplace_back(mapToGlobal(key->pos()), key->size());
    }
    const QRect inner = geometry();
    const QRect outer = frameGeometry();
    where.decorations = QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                                 outer.bottom() - inner.bottom());
    // Just shown, the window manager may not have framed the panel yet:
    // a window placed now allows for decorations all the same, so its
    // title bar is not put above the screen.
    if (where.decorations.isNull()) {
        where.decorations = kLikelyDecorations;
        where.screen.panel = inner + kLikelyDecorations;
    }
    return where;
}

bool CKavoloRoasterDlg::FilterKey(QKeyEvent* key, bool in_panel) {
    const bool is_enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (key->type() == QEvent::KeyRelease) {
        if (key->isAutoRepeat()) return false;
        if (is_enter) enter_held_ = false;
        // The filter counts Alt+Enter presses while both keys stay down; a
        // release tells it which of them reads as held now.
        KeyMessage release;
        release.kind = KeyKind::KeyUp;
        release.code = VirtualKeyCode(key->key(), key->modifiers());
        release.alt_held = key->key() != Qt::Key_Alt && key->modifiers().testFlag(Qt::AltModifier);
        release.enter_held = enter_held_;
        release.to_name_box = in_panel && focusWidget() == name_box_;
        if (key_message_seen) key_message_seen(release);
        Forward("key release", [&] { controller_->PreTranslateMessage(release); });
        return false;
    }
    if (is_enter) enter_held_ = true;
    KeyState state;
    state.enter_held = enter_held_;
    state.to_name_box = in_panel && focusWidget() == name_box_;
    bool consumed = false;
    for (const KeyMessage& message : TranslateKeyPress(key->key(), key->modifiers(), key->text(), state)) {
        if (key_message_seen) key_message_seen(message);
        Forward("key", [&] { consumed = controller_->PreTranslateMessage(message) || consumed; });
    }
    return consumed;
}

void CKavoloRoasterDlg::keyPressEvent(QKeyEvent* key) {
    // The window's own key-down handling does nothing, and of the
    // characters only those a number takes go on; in particular Escape and
    // Enter never reach the dialog's default handling, which would end it.
    const QString text = key->text();
    if (text.size() == 1 && CharPassesToWindow(text.at(0).unicode()) && key->key() != Qt::Key_Escape)
        QWidget::keyPressEvent(key);
    else
        key->accept();
}

void CKavoloRoasterDlg::closeEvent(QCloseEvent* e) {
    if (ended_) {
        e->accept();
        return;
    }
    // The close box asks the same as the CANCEL key; the program ends only
    // through EndDialog.
    e->ignore();
    Forward("close", [this] { controller_->OnButtonClicked(ctl::kCancel); });
}

void CKavoloRoasterDlg::contextMenuEvent(QContextMenuEvent* e) {
    // The platform offers no system menu to extend, so the About entry is
    // on the panel's own context menu.
    QMenu menu(this);
    menu.addAction(QStringLiteral("Roast &curve\u2026"), this, [this] { roast_->ShowCurve(); });
    menu.addAction(QStringLiteral("Roast &history\u2026"), this, [this] { roast_->ShowHistory(); });
    menu.addAction(QStringLiteral("&About Kavolo Roaster..."), this, &CKavoloRoasterDlg::ShowAbout);
    menu.exec(e->globalPos());
}

void CKavoloRoasterDlg::ShowAbout() {
    CAboutDlg about(this);
    about.exec();
}
