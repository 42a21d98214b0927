// The main window: the roaster's front panel. It owns the roast logic
// (RoasterController), builds the panel's controls over the skin, and is
// the window the logic reaches through WindowServices: timers, message
// boxes, the clock picker, the name box, the panel pictures and the file
// dialogs. Every click, press, key and editor message is forwarded to the
// controller; the window itself decides nothing.
#pragma once

#include <QDialog>
#include <QFont>
#include <QPointer>
#include <QWindow>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "roaster_controller.h"
#include "skin_art.h"
#include "window_placer.h"
#include "window_services.h"

class QLabel;
class QLineEdit;
class QMessageBox;
class QTimeEdit;
class PictureControl;
class RoastSession;
class SkinButton;
class TemperatureWindow;
class TimerBank;

class CKavoloRoasterDlg : public QDialog, public WindowServices {
    Q_OBJECT
public:
    // Gives the editor library for this window; the real library needs the
    // window as its host.
    using EditorFactory = std::function<EditorLibrary&(QWidget* host)>;

    // `roasts_folder` is where roast logs are kept; empty: the user's data
    // folder.
    CKavoloRoasterDlg(SerialControl& com, PortLister& ports, const EditorFactory& editor,
                      const QString& roasts_folder = QString(), QWidget* parent = nullptr);
    ~CKavoloRoasterDlg() override;

    // The window's initialisation: skin buttons, layout, fonts, colours,
    // then the controller's start (first panel update, timers, editor
    // library, default profile, port configuration, port search). exec()
    // runs it first if it has not run.
    void OnInitDialog();
    // Runs the window modally; returns at once with the result when the
    // window was ended during its initialisation.
    int exec() override;

    // Qt's own dialog endings (Escape, Enter on a default button) never end
    // this window: only EndDialog does.
    void accept() override {}
    void reject() override {}

    RoasterController& controller() { return *controller_; }
    RoastSession& roast_session() { return *roast_; }
    const SkinArt& art() const { return art_; }
    float display_scale() const { return display_scale_; }
    QFont name_font() const { return name_font_; }
    QFont clock_font() const { return clock_font_; }
    // Any control of the panel by its identifier; nullptr when unknown.
    QWidget* Control(int id) const;
    PictureControl* Picture(int id) const;
    SkinButton* Button(int id) const;
    QLineEdit* NameBox() const { return name_box_; }
    QTimeEdit* ClockPicker() const { return clock_picker_; }
    TemperatureWindow* Temperature() const { return temperature_; }
    bool Ended() const { return ended_; }

    // Sees every keyboard message before the key filter does (diagnostics
    // and tests).
    std::function<void(const KeyMessage&)> key_message_seen;

    // WindowServices
    void SetTimer(int id, int period_ms) override;
    void KillTimer(int id) override;
    void MessageBox(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    ClockTime LocalTime() override;
    ClockTime PickerTime() override;
    void SetPickerTime(const ClockTime& time) override;
    void ShowPicker(bool shown) override;
    void EnablePicker(bool enabled) override;
    void ShowClockIcon(bool shown) override;
    void ShowName(const std::string& text) override;
    void SetNameColour(NameColour colour) override;
    void SetPictureImage(int control, int picture) override;
    void InvalidateTemperature() override;
    std::optional<FileChoice> AskOpenFile() override;
    std::optional<FileChoice> AskSaveFile() override;
    void EndDialog(int result) override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void BuildControls();
    void BindSkinButtons();
    void LayOutPanel();
    // Puts the panel where it was left, or where the roast windows have
    // room beside it.
    void PlacePanel();
    void SetUpFonts();
    void SetUpColours();
    void ShowAbout();
    // Runs a modal box unless a box with the same text is showing already;
    // returns the button pressed, or -1 when it did not open.
    int RunBox(const std::string& text, bool yes_no);
    // Forwards one key press or release to the key filter, from this
    // window (`in_panel`) or from one that shares its keys; true when the
    // filter consumed it.
    bool FilterKey(QKeyEvent* event, bool in_panel);
    // The panel's keys (the arrows, Tab, Alt+S, Enter) work in `window`
    // (once shown) too, while no field there is being typed into.
    void ShareKeys(QWidget& window);
    // The window sharing the panel's keys whose window system window is
    // `handle`; null for others.
    QWidget* SharingWindow(QObject* handle) const;
    // True for a key of `window` that goes to the panel's key filter.
    bool ForPanel(const QWidget& window, QKeyEvent* key) const;
    // Shows the panel in front, with the keyboard.
    void BringForward();
    // Where the panel and its keys are on the screen; none while hidden.
    std::optional<PanelWhere> Where() const;
    // Reads Enter as released and restarts the Alt+Enter count.
    void ForgetHeldKeys();
    // Runs input forwarded to the controller; an exception is reported
    // and stops there, so it never unwinds through Qt's event handling.
    template <typename F>
    void Forward(const char* what, F&& action);

    SkinArt art_;
    EditorLibrary& editor_;
    std::unique_ptr<RoasterController> controller_;
    // After the controller: it goes first, ending a running recording
    // while the controller is still there.
    std::unique_ptr<RoastSession> roast_;
    std::unique_ptr<TimerBank> timers_;

    QLabel* background_ = nullptr;
    QLineEdit* name_box_ = nullptr;
    QString name_help_;  // the name box's own tooltip
    QTimeEdit* clock_picker_ = nullptr;
    PictureControl* clock_icon_ = nullptr;
    TemperatureWindow* temperature_ = nullptr;
    std::map<int, QWidget*> controls_;
    std::map<int, PictureControl*> pictures_;
    std::map<int, SkinButton*> buttons_;

    float display_scale_ = 1.0f;
    QFont name_font_;
    QFont clock_font_;
    bool initialised_ = false;
    bool ended_ = false;
    bool enter_held_ = false;
    QObject* filtered_window_ = nullptr;
    // The windows the panel's keys work in.
    struct SharedWindow {
        QPointer<QWindow> handle;
        QPointer<QWidget> widget;
    };
    std::vector<SharedWindow> shared_windows_;
    std::multiset<std::string> open_boxes_;
    std::vector<QMessageBox*> box_widgets_;  // the boxes open now, innermost last
};
