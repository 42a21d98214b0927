// The main window on the test stand-ins: its layout, skin buttons, keys,
// boxes, pictures and the single-instance lock.
#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <QWindow>
#include <cstring>
#include <memory>
#include <thread>
#include <utility>

#include "control_ids.h"
#include "editor_message.h"
#include "fake_editor.h"
#include "fake_serial.h"
#include "instance_lock.h"
#include "kavolo_roaster_app.h"
#include "kavolo_roaster_dlg.h"
#include "key_translation.h"
#include "panel_layout.h"
#include "picture_control.h"
#include "picture_ids.h"
#include "roast_session.h"
#include "skin_button.h"
#include "temperature_window.h"
#include "window_stand.h"

namespace {

// Runs `step` once the event loop runs again, e.g. inside a modal box.
void Soon(std::function<void()> step) { QTimer::singleShot(0, qApp, std::move(step)); }

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT
private slots:
    void windowHasItsTitleSizeAndSkin();
    void controlsSitAtTheirPlaces();
    void skinButtonsTakeTheSizeOfTheirUpImages();
    void everyClickableControlHasATooltipAndItsOwnName();
    void programButtonShowsItsUpImageWhenFocused();
    void doubleClickIsTwoPressesAndTwoClicks();
    void releaseOutsideGivesNoClick();
    void initialisationShowsNameClockAndHandsTheWindowToTheEditor();
    void fontsFollowTheDisplayScale();
    void panelUpdateSetsPicturesOfTheState();
    void temperatureWindowShowsReadingInChosenUnit();
    void escapeEnterAndCloseBoxDoNotEndTheWindow();
    void endDialogEndsTheWindowAndItsBoxes();
    void keyPressesBecomeKeyDownAndCharacterMessages();
    void releasingAltOrEnterRestartsTheAltEnterCount();
    void enterLetGoInsideABoxIsReadAsReleased();
    void eachKeyPressReachesTheFilterOnce();
    void windowPassesOnlyNumberCharacters();
    void sameMessageWhileShowingOpensNoSecondBox();
    void nameBoxTextAndColour();
    void pickerSetByTheProgramIsNoUserChange();
    void editorMessageReachesTheWindow();
    void instanceLockAdmitsOneHolder();
    void lockOfACrashedInstanceIsTakenOver();
    void secondInstanceIsRefused();
};

void WindowTest::windowHasItsTitleSizeAndSkin() {
    Stand t;
    QCOMPARE(t.window->windowTitle(), QStringLiteral("Kavolo QL-900"));
    QCOMPARE(t.window->size(), QSize(916, 722));
    QCOMPARE(t.window->minimumSize(), t.window->maximumSize());
    QWidget* skin = t.window->Control(ctl::kBackground);
    QVERIFY(skin);
    QCOMPARE(skin->geometry(), QRect(0, 0, 916, 722));
    QCOMPARE(t.window->art().Picture(pic::kSkin).size(), QSize(916, 722));

    // The skin fills the window to its edges: no strip of the window's own
    // background shows along them.
    const QImage shot = t.window->grab().toImage();
    const QImage skin_picture = t.window->art().Picture(pic::kSkin).toImage();
    for (const QPoint corner : {QPoint(915, 100), QPoint(400, 721), QPoint(915, 721)})
        QCOMPARE(shot.pixelColor(corner), skin_picture.pixelColor(corner));
}

void WindowTest::controlsSitAtTheirPlaces() {
    Stand t;
    // Every control's place and size, typed out here rather than read from the
    // table the window places its controls from.
    const std::pair<int, QRect> places[] = {
        {ctl::kNameBox, {294, 648, 327, 39}}, {ctl::kCreate, {117, 12, 208, 41}}, {ctl::kSelect, {334, 12, 196, 41}},
        {ctl::kEdit, {536, 12, 120, 43}}, {ctl::kDelet, {660, 12, 137, 42}}, {ctl::kRight, {158, 376, 102, 102}},
        {ctl::kUp, {310, 453, 102, 103}}, {ctl::kDown, {513, 450, 102, 102}}, {ctl::kMode, {665, 369, 103, 102}},
        {ctl::kPower, {758, 222, 102, 102}}, {ctl::kSave, {782, 586, 114, 41}}, {ctl::kCancel, {782, 632, 114, 42}},
        {ctl::kFanDigit, {67, 205, 86, 169}}, {ctl::kTensDigit, {373, 242, 86, 169}},
        {ctl::kUnitsDigit, {459, 242, 86, 169}}, {ctl::kClockPicker, {378, 126, 165, 42}},
        {ctl::kClockIcon, {375, 124, 170, 49}}, {ctl::kTemperature, {359, 58, 200, 57}},
        {ctl::kHeatLow, {621, 264, 25, 24}}, {ctl::kHeatMid, {660, 264, 25, 24}}, {ctl::kHeatHigh, {698, 264, 25, 24}},
        {ctl::kLinkLamp, {698, 312, 25, 24}}, {ctl::kProgram, {47, 609, 99, 61}},
    };
    for (const auto& [id, place] : places) {
        QVERIFY2(t.window->Control(id), qPrintable(QString::number(id)));
        QCOMPARE(t.window->Control(id)->geometry(), place);
    }
    // The skin lies beneath everything.
    QCOMPARE(t.window->childAt(100, 290), t.window->Control(ctl::kFanDigit));
}

void WindowTest::skinButtonsTakeTheSizeOfTheirUpImages() {
    struct Case {
        int id;
        QSize size;
        bool hold_capable;
    };
    const Case cases[] = {
        {ctl::kCreate, {208, 41}, false}, {ctl::kSelect, {196, 41}, false}, {ctl::kEdit, {120, 43}, false},
        {ctl::kDelet, {137, 42}, false},  {ctl::kMode, {103, 102}, false},  {ctl::kSave, {114, 41}, false},
        {ctl::kCancel, {114, 42}, false}, {ctl::kProgram, {99, 61}, false}, {ctl::kRight, {102, 102}, true},
        {ctl::kUp, {102, 103}, true},     {ctl::kDown, {102, 102}, true},   {ctl::kPower, {102, 102}, true},
    };
    Stand t;
    for (const Case& c : cases) {
        SkinButton* button = t.window->Button(c.id);
        QVERIFY(button);
        QCOMPARE(button->size(), c.size);
        QCOMPARE(qobject_cast<CMyButton*>(button) != nullptr, c.hold_capable);
        QCOMPARE(qobject_cast<DarwButton*>(button) != nullptr, !c.hold_capable);
        const QString caption = button->text();
        const bool full_set = c.id != ctl::kProgram;
        for (const char* letter : {"U", "D", "F", "X"}) {
            const QPixmap image = t.window->art().Named(caption + letter);
            const bool expected = full_set || std::strcmp(letter, "U") == 0 || std::strcmp(letter, "D") == 0;
            QCOMPARE(!image.isNull(), expected);
            if (expected) QCOMPARE(image.size(), c.size);
        }
    }
}

void WindowTest::everyClickableControlHasATooltipAndItsOwnName() {
    Stand t;
    QSet<QString> names;
    const int ids[] = {ctl::kCreate, ctl::kSelect, ctl::kEdit,  ctl::kDelet, ctl::kMode,        ctl::kSave,
                       ctl::kCancel, ctl::kProgram, ctl::kRight, ctl::kUp,    ctl::kDown,        ctl::kPower,
                       ctl::kTemperature, ctl::kClockIcon};
    for (int id : ids) {
        const QWidget* control = t.window->Control(id);
        QVERIFY(control);
        QVERIFY2(!control->toolTip().isEmpty(), qPrintable(QString::number(id)));
        QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(QString::number(id)));
        names.insert(control->accessibleName());
    }
    QCOMPARE(names.size(), int(std::size(ids)));
}

void WindowTest::programButtonShowsItsUpImageWhenFocused() {
    Stand t;
    SkinButton* program = t.window->Button(ctl::kProgram);
    SkinButton* save = t.window->Button(ctl::kSave);
    program->setFocus();
    QVERIFY(program->hasFocus());
    QCOMPARE(program->CurrentFace(), ButtonFace::Up);
    save->setFocus();
    QCOMPARE(save->CurrentFace(), ButtonFace::Focus);
    program->setDown(true);
    QCOMPARE(program->CurrentFace(), ButtonFace::Down);
    // The drawn pixels are those of the chosen image.
    program->setDown(false);
    QCOMPARE(program->grab().toImage().pixelColor(50, 45),
             t.window->art().Named("PROGRAMU").toImage().pixelColor(50, 45));
}

void WindowTest::doubleClickIsTwoPressesAndTwoClicks() {
    SkinArt art;
    CMyButton up(ctl::kUp, "UP", nullptr);
    up.AutoLoad(art);
    up.show();
    std::vector<int> presses;
    int releases = 0;
    up.on_press = [&](int id) { presses.push_back(id); };
    up.on_release = [&] { ++releases; };
    QSignalSpy clicks(&up, &QAbstractButton::clicked);
    const QPoint centre(51, 51);
    QTest::mousePress(&up, Qt::LeftButton, {}, centre);
    QTest::mouseRelease(&up, Qt::LeftButton, {}, centre);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(centre), up.mapToGlobal(QPointF(centre)), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&up, &dbl);
    QTest::mouseRelease(&up, Qt::LeftButton, {}, centre);
    QCOMPARE(presses, (std::vector<int>{ctl::kUp, ctl::kUp}));
    QCOMPARE(releases, 2);
    QCOMPARE(clicks.count(), 2);
}

void WindowTest::releaseOutsideGivesNoClick() {
    SkinArt art;
    CMyButton power(ctl::kPower, "POWER", nullptr);
    power.AutoLoad(art);
    power.show();
    int releases = 0;
    power.on_release = [&] { ++releases; };
    QSignalSpy clicks(&power, &QAbstractButton::clicked);
    QTest::mousePress(&power, Qt::LeftButton, {}, QPoint(50, 50));
    QVERIFY(power.isDown());
    QCOMPARE(power.CurrentFace(), ButtonFace::Down);
    QTest::mouseRelease(&power, Qt::LeftButton, {}, QPoint(300, 300));
    QCOMPARE(releases, 1);
    QCOMPARE(clicks.count(), 0);
    QVERIFY(!power.isDown());
}

void WindowTest::initialisationShowsNameClockAndHandsTheWindowToTheEditor() {
    Stand t;
    QCOMPARE(t.editor_host, static_cast<QWidget*>(t.window.get()));
    QCOMPARE(t.editor.binds, 1);
    QCOMPARE(t.window->NameBox()->text(), QStringLiteral("NULL"));
    QVERIFY(!t.window->NameBox()->isUndoAvailable());
    QVERIFY(t.window->Control(ctl::kClockIcon)->isVisible());
    QVERIFY(!t.window->ClockPicker()->isVisible());
    QCOMPARE(t.window->ClockPicker()->displayFormat(), QStringLiteral("h:mm:ss AP"));
    QVERIFY(qAbs(t.window->ClockPicker()->time().secsTo(QTime::currentTime())) < 5);
    // The working list is the default profile and the port is configured.
    const std::vector<StepNode> steps = Snapshot(t.window->controller().console.working.head);
    QCOMPARE(steps.size(), size_t{2});
    QCOMPARE(steps[0].time, 59);
    QVERIFY(!t.serial.ops.empty());
    // The first panel update has drawn the digits.
    QVERIFY(t.window->Picture(ctl::kFanDigit)->picture_id() != 0);
}

void WindowTest::fontsFollowTheDisplayScale() {
    Stand t;
    const float dpi = static_cast<float>(t.window->logicalDpiY());
    QCOMPARE(t.window->display_scale(), DisplayScale(dpi));
    QCOMPARE(qRound(t.window->name_font().pointSizeF() * 10), NameFontTenths(DisplayScale(dpi)));
    QCOMPARE(t.window->NameBox()->font(), t.window->name_font());
    QVERIFY(QFontMetrics(t.window->clock_font()).height() <= 29);
    QVERIFY(QFontMetrics(t.window->clock_font()).height() >= 24);
    QCOMPARE(t.window->clock_font().weight(), QFont::Normal);
}

void WindowTest::panelUpdateSetsPicturesOfTheState() {
    Stand t;
    struct Case {
        const char* name;
        int32_t machine_state, run_phase, cool_time;
        int fan, tens, units, low, mid, high;
    };
    const int off = pic::kLampOff, on = pic::kLampOrange;
    const Case cases[] = {
        {"ready", kReady, kWaitStart, 30, 146, 147, 154, off, off, on},
        {"cool", kRun, kCool, 25, 146, pic::kLetterC, 142, off, off, off},
        {"off", kOff, kWaitStart, 30, 210, 211, 210, off, off, off},
        {"finished", kFinished, kPhaseNone, 30, 210, 211, 210, off, off, off},
    };
    for (const Case& c : cases) {
        ControllerState& s = t.s();
        s.machine_state = c.machine_state;
        s.run_phase = c.run_phase;
        s.cool_time = c.cool_time;
        s.fan_level = 5;
        s.roast_time = 59;
        s.heat_level = c.run_phase == kCool ? 0 : 3;
        s.link_ok = true;
        s.edit_countdown = 0;
        s.blink_phase = 1;  // toggled to 0 by the update: the steady picture
        t.window->controller().panel.UpdatePanel();
        QCOMPARE(t.window->Picture(ctl::kFanDigit)->picture_id(), c.fan);
        QCOMPARE(t.window->Picture(ctl::kTensDigit)->picture_id(), c.tens);
        QCOMPARE(t.window->Picture(ctl::kUnitsDigit)->picture_id(), c.units);
        QCOMPARE(t.window->Picture(ctl::kHeatLow)->picture_id(), c.low);
        QCOMPARE(t.window->Picture(ctl::kHeatMid)->picture_id(), c.mid);
        QCOMPARE(t.window->Picture(ctl::kHeatHigh)->picture_id(), c.high);
        QCOMPARE(t.window->Picture(ctl::kLinkLamp)->picture_id(), int(pic::kLampGreen));
        // The control shows the picture itself, not only its number.
        QCOMPARE(t.window->Picture(ctl::kFanDigit)->pixmap().toImage(),
                 t.window->art().Picture(c.fan).toImage());
    }
    // Run, Heat: the point of the tens digit blinks between updates.
    t.s().machine_state = kRun;
    t.s().run_phase = kHeat;
    t.s().heat_level = 3;
    QSet<int> tens;
    for (int i = 0; i < 2; ++i) {
        t.window->controller().panel.UpdatePanel();
        tens << t.window->Picture(ctl::kTensDigit)->picture_id();
    }
    QCOMPARE(tens, (QSet<int>{146, 147}));
    // An unknown picture leaves the control empty.
    t.window->SetPictureImage(ctl::kFanDigit, 9999);
    QVERIFY(t.window->Picture(ctl::kFanDigit)->pixmap().isNull());
}

void WindowTest::temperatureWindowShowsReadingInChosenUnit() {
    Stand t;
    struct Case {
        int32_t t;
        bool celsius;
        const char* text;
    };
    const Case cases[] = {{626, false, "ERR"}, {625, false, "625"}, {625, true, "329"}, {32, true, "0"},
                          {30, true, "-1"},    {0xFF00, true, "Lo"}, {0xFE10, false, "Hi"}};
    for (const Case& c : cases) {
        t.s().temperature = c.t;
        t.s().show_celsius = c.celsius;
        QCOMPARE(t.window->Temperature()->CurrentText(), QString::fromLatin1(c.text));
    }
    // The face follows the unit.
    t.s().temperature = 0xFF00;  // "Lo" leaves the right end of the face bare
    t.s().show_celsius = 1;
    const QImage celsius = t.window->Temperature()->grab().toImage();
    t.s().show_celsius = 0;
    const QImage fahrenheit = t.window->Temperature()->grab().toImage();
    auto unit_sign = [](const QImage& image) {
        return image.copy(140, 8, 50, 40).convertToFormat(QImage::Format_ARGB32);
    };
    QCOMPARE(unit_sign(celsius), unit_sign(t.window->art().Picture(pic::kTemperatureCelsius).toImage()));
    QCOMPARE(unit_sign(fahrenheit), unit_sign(t.window->art().Picture(pic::kTemperatureFahrenheit).toImage()));
    QVERIFY(unit_sign(celsius) != unit_sign(fahrenheit));
}

void WindowTest::escapeEnterAndCloseBoxDoNotEndTheWindow() {
    Stand t;
    QWindow* native = t.window->windowHandle();
    QVERIFY(native);
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        QTest::keyClick(native, key);
        // Also straight to the dialog, past the window's key reading.
        QTest::keyClick(t.window.get(), key);
        QVERIFY(t.window->isVisible());
        QVERIFY(!t.window->Ended());
    }
    t.window->NameBox()->setFocus();
    QTest::keyClick(native, Qt::Key_Escape);
    QVERIFY(t.window->isVisible());

    // While the roaster runs with the link up the close box only warns.
    t.s().machine_state = kRun;
    t.s().link_ok = true;
    QString warning;
    Soon([&] {
        const auto boxes = OpenBoxes();
        if (boxes.size() == 1) {
            warning = boxes.front()->text();
            boxes.front()->accept();
        }
    });
    QVERIFY(!t.window->close());
    QCOMPARE(warning,
             QStringLiteral("Please long press the power button to stop the Brazimo operation before exit Software!"));
    QVERIFY(t.window->isVisible());
    QVERIFY(!t.window->Ended());

    // Otherwise it ends the program, as CANCEL does.
    t.s().machine_state = kOff;
    t.window->close();
    QVERIFY(t.window->Ended());
    QVERIFY(!t.window->isVisible());
    QCOMPARE(t.window->result(), kResultCancel);
}

void WindowTest::endDialogEndsTheWindowAndItsBoxes() {
    Stand t;
    int answered = -1;
    Soon([&] {
        QCOMPARE(OpenBoxes().size(), 1);
        t.window->EndDialog(kResultCancel);
    });
    answered = t.window->AskYesNo("Save the roast?") ? 1 : 0;
    QCOMPARE(answered, 0);  // a question closed by the ending counts as No
    QVERIFY(t.window->Ended());
    QVERIFY(!t.window->isVisible());
    QCOMPARE(t.window->result(), kResultCancel);
    QVERIFY(OpenBoxes().isEmpty());
}

void WindowTest::keyPressesBecomeKeyDownAndCharacterMessages() {
    struct Expected {
        KeyKind kind;
        int code;
    };
    struct Case {
        const char* name;
        int key;
        Qt::KeyboardModifiers modifiers;
        QString text;
        std::vector<Expected> messages;
    };
    const Case cases[] = {
        {"enter", Qt::Key_Return, Qt::NoModifier, "\r", {{KeyKind::KeyDown, 13}, {KeyKind::Char, 13}}},
        {"alt+enter", Qt::Key_Return, Qt::AltModifier, "", {{KeyKind::KeyDown, 13}, {KeyKind::Char, 13}}},
        {"keypad enter", Qt::Key_Enter, Qt::KeypadModifier, "\r", {{KeyKind::KeyDown, 13}, {KeyKind::Char, 13}}},
        {"escape", Qt::Key_Escape, Qt::NoModifier, "\x1b", {{KeyKind::KeyDown, 27}, {KeyKind::Char, 27}}},
        {"up", Qt::Key_Up, Qt::NoModifier, "", {{KeyKind::KeyDown, 0x26}}},
        {"left", Qt::Key_Left, Qt::NoModifier, "", {{KeyKind::KeyDown, 0x25}}},
        {"tab", Qt::Key_Tab, Qt::NoModifier, "\t", {{KeyKind::KeyDown, 9}, {KeyKind::Char, 9}}},
        {"shift+tab", Qt::Key_Backtab, Qt::ShiftModifier, "", {{KeyKind::KeyDown, 9}}},
        {"alt+s", Qt::Key_S, Qt::AltModifier, "s", {{KeyKind::KeyDown, 0x53}, {KeyKind::Char, 's'}}},
        {"letter", Qt::Key_A, Qt::ShiftModifier, "A", {{KeyKind::KeyDown, 0x41}, {KeyKind::Char, 'A'}}},
        {"digit", Qt::Key_7, Qt::NoModifier, "7", {{KeyKind::KeyDown, 0x37}, {KeyKind::Char, '7'}}},
        {"ctrl+v", Qt::Key_V, Qt::ControlModifier, "", {{KeyKind::KeyDown, 0x56}, {KeyKind::Char, 0x16}}},
        {"delete", Qt::Key_Delete, Qt::NoModifier, "\x7f", {{KeyKind::KeyDown, 0x2E}}},
        {"backspace", Qt::Key_Backspace, Qt::NoModifier, "\b", {{KeyKind::KeyDown, 8}, {KeyKind::Char, 8}}},
        {"umlaut", Qt::Key_Adiaeresis, Qt::NoModifier, QString::fromUtf8("\u00e4"), {{KeyKind::Char, 0xE4}}},
    };
    for (const Case& c : cases) {
        const KeyState state{true, true};
        const std::vector<KeyMessage> out = TranslateKeyPress(c.key, c.modifiers, c.text, state);
        QVERIFY2(out.size() == c.messages.size(), c.name);
        for (size_t i = 0; i < out.size(); ++i) {
            QVERIFY2(out[i].kind == c.messages[i].kind, c.name);
            QVERIFY2(out[i].code == c.messages[i].code, c.name);
            QVERIFY2(out[i].alt_held == bool(c.modifiers & Qt::AltModifier), c.name);
            QVERIFY2(out[i].enter_held && out[i].to_name_box, c.name);
        }
    }
}

void WindowTest::releasingAltOrEnterRestartsTheAltEnterCount() {
    Stand t;
    QWindow* native = t.window->windowHandle();
    for (Qt::Key released : {Qt::Key_Alt, Qt::Key_Return}) {
        QTest::keyPress(native, Qt::Key_Return, Qt::AltModifier);
        QCOMPARE(t.s().alt_enter_count, 2);
        // Another key let go while Alt and Enter stay down (QTest would also
        // release Alt, so the event is sent as it stands).
        QKeyEvent other(QEvent::KeyRelease, Qt::Key_S, Qt::AltModifier);
        QCoreApplication::sendEvent(native, &other);
        QCOMPARE(t.s().alt_enter_count, 2);
        QTest::keyRelease(native, released, released == Qt::Key_Alt ? Qt::NoModifier : Qt::AltModifier);
        QCOMPARE(t.s().alt_enter_count, 0);
        QTest::keyRelease(native, Qt::Key_Return);
    }
}

void WindowTest::enterLetGoInsideABoxIsReadAsReleased() {
    Stand t;
    QWindow* native = t.window->windowHandle();
    QTest::keyPress(native, Qt::Key_Return, Qt::AltModifier);
    QCOMPARE(t.s().alt_enter_count, 2);
    // A box opens while both keys are down; Enter is let go inside it.
    Soon([] {
        for (QMessageBox* box : OpenBoxes()) box->accept();
    });
    t.window->MessageBox("Please connect the Brazimo on the computer!");
    QCOMPARE(t.s().alt_enter_count, 0);
    // The next Alt+Enter press is one press again, not the third and fourth
    // messages of a press that never ended.
    QTest::keyPress(native, Qt::Key_Return, Qt::AltModifier);
    QCOMPARE(t.s().alt_enter_count, 2);
    QTest::keyRelease(native, Qt::Key_Return, Qt::AltModifier);
    QCOMPARE(t.s().alt_enter_count, 0);
}

void WindowTest::eachKeyPressReachesTheFilterOnce() {
    Stand t;
    std::vector<KeyMessage> seen;
    t.window->key_message_seen = [&](const KeyMessage& m) {
        if (m.kind != KeyKind::KeyUp) seen.push_back(m);
    };
    QWindow* native = t.window->windowHandle();

    // Focus on the name box: its messages say so, and the box's parents
    // seeing the same press do not repeat it.
    t.window->NameBox()->setFocus();
    QTest::keyClick(native, Qt::Key_X);
    QCOMPARE(seen.size(), size_t{2});
    QVERIFY(seen[0].kind == KeyKind::KeyDown && seen[0].code == 0x58 && seen[0].to_name_box);
    QVERIFY(seen[1].kind == KeyKind::Char && seen[1].code == 'x' && seen[1].to_name_box);

    // Enter reads as held while it is down.
    seen.clear();
    t.window->Button(ctl::kSave)->setFocus();
    QTest::keyPress(native, Qt::Key_Return, Qt::AltModifier);
    QTest::keyRelease(native, Qt::Key_Return, Qt::AltModifier);
    QTest::keyClick(native, Qt::Key_Up);
    // Alt goes down first, then Enter gives a key-down and a character.
    QCOMPARE(seen.size(), size_t{4});
    QCOMPARE(seen[0].code, 0x12);
    for (int i = 1; i < 3; ++i) {
        QCOMPARE(seen[i].code, 13);
        QVERIFY(seen[i].alt_held && seen[i].enter_held && !seen[i].to_name_box);
    }
    QVERIFY(seen[1].kind == KeyKind::KeyDown && seen[2].kind == KeyKind::Char);
    QVERIFY(seen[3].code == vk::kUp && !seen[3].enter_held && !seen[3].alt_held);
}

void WindowTest::windowPassesOnlyNumberCharacters() {
    for (int c = 0; c < 128; ++c) {
        const bool expected = (c >= '0' && c <= '9') || c == 8 || c == '.';
        QCOMPARE(CharPassesToWindow(c), expected);
    }
    QVERIFY(!CharPassesToWindow(0x660));  // other scripts' digits are not ours
}

void WindowTest::sameMessageWhileShowingOpensNoSecondBox() {
    Stand t;
    int boxes_seen_inside = 0;
    bool repeat_returned = false;
    bool other_seen = false;
    bool stacked = false;
    Soon([&] {
        boxes_seen_inside = OpenBoxes().size();
        // A nested tick repeats the message: it returns at once. (Should a
        // second box open, this closes it again so the test ends.)
        Soon([&] {
            QList<QMessageBox*> same;
            for (QMessageBox* box : OpenBoxes())
                if (box->text() == QStringLiteral("Roaster not found!")) same << box;
            if (same.size() > 1) {
                stacked = true;
                same.last()->done(QMessageBox::Ok);
            }
        });
        t.window->MessageBox("Roaster not found!");
        repeat_returned = true;
        QCOMPARE(OpenBoxes().size(), 1);
        // A different message does open, on top.
        Soon([&] {
            other_seen = OpenBoxes().size() == 2;
            QList<QMessageBox*> open = OpenBoxes();
            for (QMessageBox* box : open)
                if (box->text() == QStringLiteral("Another")) box->button(QMessageBox::Ok)->click();
        });
        t.window->MessageBox("Another");
        Soon([] {
            for (QMessageBox* box : OpenBoxes()) box->button(QMessageBox::Ok)->click();
        });
    });
    t.window->MessageBox("Roaster not found!");
    QCOMPARE(boxes_seen_inside, 1);
    QVERIFY(!stacked);
    QVERIFY(repeat_returned);
    QVERIFY(other_seen);
    QVERIFY(OpenBoxes().isEmpty());

    // Once closed, the same text opens again; title and buttons as the
    // program's boxes have them.
    QString title;
    Soon([&] {
        QMessageBox* box = OpenBoxes().value(0);
        QVERIFY(box);
        title = box->windowTitle();
        QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        box->button(QMessageBox::Yes)->click();
    });
    QVERIFY(t.window->AskYesNo("Roaster not found!"));
    QCOMPARE(title, QStringLiteral("Kavolo Roaster"));
}

void WindowTest::nameBoxTextAndColour() {
    Stand t;
    t.window->ShowName("Ethiopia Guji");
    QCOMPARE(t.window->NameBox()->text(), QStringLiteral("Ethiopia Guji"));
    QVERIFY(!t.window->NameBox()->isUndoAvailable());
    t.window->SetNameColour(NameColour::Warning);
    QCOMPARE(t.window->NameBox()->palette().color(QPalette::Text), QColor(255, 0, 0));
    t.window->SetNameColour(NameColour::Normal);
    QCOMPARE(t.window->NameBox()->palette().color(QPalette::Text), QColor(0, 0, 0));
    QCOMPARE(t.window->NameBox()->palette().color(QPalette::Base), QColor(Qt::white));
    // Typing into it changes nothing.
    t.window->NameBox()->setFocus();
    for (QChar ch : QStringLiteral("abc")) QTest::keyClick(t.window->windowHandle(), ch.toLatin1());
    QTest::keyClicks(t.window->NameBox(), "abc");
    QCOMPARE(t.window->NameBox()->text(), QStringLiteral("Ethiopia Guji"));
    // Names are UTF-8.
    t.window->ShowName("Caf\xc3\xa9");
    QCOMPARE(t.window->NameBox()->text(), QString::fromUtf8("Caf\u00e9"));
}

void WindowTest::pickerSetByTheProgramIsNoUserChange() {
    Stand t;
    QSignalSpy changes(t.window->ClockPicker(), &QTimeEdit::timeChanged);
    t.window->SetPickerTime(ClockTime{21, 5, 9});
    QCOMPARE(changes.count(), 0);
    QCOMPARE(t.window->PickerTime(), (ClockTime{21, 5, 9}));
    QCOMPARE(t.window->ClockPicker()->text(), QStringLiteral("9:05:09 PM"));
    t.window->ShowPicker(true);
    t.window->ShowClockIcon(false);
    t.window->EnablePicker(false);
    QVERIFY(t.window->ClockPicker()->isVisible());
    QVERIFY(!t.window->ClockPicker()->isEnabled());
    QVERIFY(!t.window->Control(ctl::kClockIcon)->isVisible());
}

void WindowTest::editorMessageReachesTheWindow() {
    Stand t;
    t.editor.list.UpdateStep(1, 8, 77, 2, KEEP_VALUE);  // the user's edit in the editor
    EditorMessageEvent message(DLL_MSG_CHANGED);
    QVERIFY(QCoreApplication::sendEvent(t.window.get(), &message));
    QVERIFY(t.window->isVisible());
    QCOMPARE(t.window->controller().console.working.head->time, 77);  // the controller took the edited list
}

void WindowTest::instanceLockAdmitsOneHolder() {
    QTemporaryDir dir;
    auto first = std::make_unique<InstanceLock>(dir.path());
    InstanceLock second(dir.path());
    QVERIFY(first->TryAcquire());
    QVERIFY(first->TryAcquire());  // asking again keeps it
    QVERIFY(!second.TryAcquire());
    QVERIFY(!second.Held());
    first.reset();  // the first instance ends
    QVERIFY(second.TryAcquire());
    QVERIFY(second.Held());
}

void WindowTest::lockOfACrashedInstanceIsTakenOver() {
    QTemporaryDir dir;
    QProcess holder;
    holder.setProgram(QCoreApplication::applicationFilePath());
    holder.setArguments({"--hold-lock", dir.path()});
    holder.start();
    QVERIFY(holder.waitForStarted());
    QVERIFY(holder.waitForReadyRead(10000));
    QCOMPARE(holder.readAll().trimmed(), QByteArray("locked"));

    InstanceLock mine(dir.path());
    QVERIFY(!mine.TryAcquire());  // the other process runs
    holder.kill();                // it dies without letting go
    QVERIFY(holder.waitForFinished());
    QVERIFY(QFile::exists(mine.FilePath()));
    QVERIFY(mine.TryAcquire());
}

void WindowTest::secondInstanceIsRefused() {
    QTemporaryDir dir;
    InstanceLock running(dir.path());
    QVERIFY(running.TryAcquire());

    InstanceLock second_lock(dir.path());
    FakeSerial serial;
    FakePortLister ports;
    FakeEditor editor;
    bool window_made = false;
    CKavoloRoasterApp second(second_lock, serial, ports, [&](QWidget*) -> EditorLibrary& {
        window_made = true;
        return editor;
    });
    QStringList shown;
    second.show_message = [&](const QString& text) { shown << text; };
    QVERIFY(!second.InitInstance());
    QCOMPARE(shown, QStringList{"Only one instance can run!"});
    QVERIFY(!window_made);
    QVERIFY(running.Held());
    QVERIFY(serial.ops.empty());  // the roaster's port was never touched
}

// With --hold-lock FOLDER the program takes the lock, says so and waits to
// be killed: the other process of the lock test.
int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--hold-lock") == 0) {
        QCoreApplication app(argc, argv);
        InstanceLock lock(QString::fromLocal8Bit(argv[2]));
        if (!lock.TryAcquire()) return 1;
        std::fputs("locked\n", stdout);
        std::fflush(stdout);
        for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
    }
    QApplication app(argc, argv);
    WindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "window_test.moc"
