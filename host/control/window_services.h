// What the roast logic needs from its window: timers, message boxes and
// prompts, the local clock and the clock picker, the name box, the panel's
// pictures, the file dialogs and the end of the program.
//
// The main window implements it with Qt; tests implement it with a fake
// that runs timers in virtual time and answers prompts from a script.
#pragma once

#include <optional>
#include <string>

struct ClockTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const ClockTime& o) const { return hour == o.hour && minute == o.minute && second == o.second; }
};

enum class NameColour { Normal, Warning };

struct FileChoice {
    std::string name;  // file name with extension, as the dialog returns it
    std::string path;  // full path
};

class WindowServices {
public:
    virtual ~WindowServices() = default;

    // Periodic timers; setting a running timer restarts its period.
    virtual void SetTimer(int id, int period_ms) = 0;
    virtual void KillTimer(int id) = 0;

    // Modal boxes titled with the program's name. Timers keep firing while
    // one is open.
    virtual void MessageBox(const std::string& text) = 0;
    virtual bool AskYesNo(const std::string& text) = 0;

    virtual ClockTime LocalTime() = 0;

    // The delayed-start clock picker and the clock icon it replaces.
    virtual ClockTime PickerTime() = 0;
    virtual void SetPickerTime(const ClockTime& time) = 0;
    virtual void ShowPicker(bool shown) = 0;
    virtual void EnablePicker(bool enabled) = 0;
    virtual void ShowClockIcon(bool shown) = 0;

    // The name box: writing its text also empties its undo buffer.
    virtual void ShowName(const std::string& text) = 0;
    virtual void SetNameColour(NameColour colour) = 0;

    // Exchanges the picture a picture control shows.
    virtual void SetPictureImage(int control, int picture) = 0;
    virtual void InvalidateTemperature() = 0;

    // File dialogs with the filter "Coffee Setting (*.coff)"; the save
    // dialog asks before overwriting. Empty when cancelled.
    virtual std::optional<FileChoice> AskOpenFile() = 0;
    virtual std::optional<FileChoice> AskSaveFile() = 0;

    // Ends the main window, which ends the program.
    virtual void EndDialog(int result) = 0;
};
