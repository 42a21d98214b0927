// The console's model of the roaster: every value the control cycle, the
// panel commands, the link and the profile commands read and change.
//
// All of it is plain data on the user-interface thread. The start values
// below are the values at program start.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// machine_state
constexpr int32_t kOff = 0;
constexpr int32_t kReady = 1;
constexpr int32_t kRun = 2;
constexpr int32_t kFinished = 3;

// run_phase
constexpr int32_t kWaitStart = 0;
constexpr int32_t kHeat = 1;
constexpr int32_t kCool = 2;
constexpr int32_t kManualCool = 3;
constexpr int32_t kPhaseNone = 0xFF;  // swallows the POWER click after a long-press stop

// edit_field
constexpr uint8_t kEditNone = 0;
constexpr uint8_t kEditFan = 1;
constexpr uint8_t kEditTime = 2;
constexpr uint8_t kEditHeat = 3;

// held_button
constexpr int32_t kHeldNone = 0;
constexpr int32_t kHeldUp = 1;
constexpr int32_t kHeldDown = 2;
constexpr int32_t kHeldPower = 3;
constexpr int32_t kHeldRight = 4;

// Status frame command bytes.
constexpr int32_t kStatusCommand = 0x63;
constexpr int32_t kStartCommand = 0x13;

// Reserved profile names.
inline const std::string kNoProfile = "NULL";
inline const std::string kNewSetting = "New Setting";
inline const std::string kLastUsbSetting = "Last USB Setting";
inline const std::string kMachineSetting = "Last Machine Setting.coff";
inline const std::string kNoPath = "/0";

// Readings above this are no temperatures (the roaster's "ERR", "Lo" and
// "Hi"): they are shown as they come and restart the smoothing.
constexpr int32_t kMaxSmoothedTemperature = 625;

// Ticks of the 500 ms control timer in one time unit (a tenth of a minute).
constexpr int32_t kTicksPerUnit = 12;
// Elapsed roast and cooling times stop counting here (about 83 hours).
constexpr int32_t kElapsedLimit = 50000;

struct ControllerState {
    // --- roast control ---------------------------------------------------
    int32_t machine_state = kOff;
    int32_t run_phase = kWaitStart;
    int32_t fan_level = 5;
    int32_t roast_time = 59;  // time left in the current roast step
    int32_t heat_level = 3;
    int32_t cool_time = 30;   // cooling time left
    int32_t step_index = 1;   // 1-based current step of the working list
    int32_t run_elapsed = 0;  // roasting time since the run began
    int32_t step_start = 0;   // run_elapsed when the current step began
    int32_t cool_elapsed = 0;
    int32_t tick_count = 0;   // control ticks since the last unit was counted
    int32_t pending_command = 0;
    int32_t no_reply_ticks = 0;
    bool link_ok = false;
    int32_t temperature = 32;  // degrees Fahrenheit, smoothed
    int32_t show_celsius = 0;
    int32_t shown_temperature = 0;
    int32_t manual_fan = 5;  // the roaster's own manual setting
    int32_t manual_time = 59;
    int32_t manual_heat = 3;
    bool delayed_start = false;
    int32_t blink_phase = 0;
    int32_t step_split = 0;
    int32_t editor_open = 0;
    bool editor_refresh = true;

    // --- profile identity ------------------------------------------------
    std::string profile_name = kNoProfile;
    std::string profile_path = kNoPath;
    std::string previous_profile = kNoProfile;  // what MODEE switched away from

    // --- editing and resume values ---------------------------------------
    uint8_t edit_field = kEditNone;
    int8_t edit_countdown = 0;
    uint8_t prompt_open = 0;
    int32_t saved_fan = 0;
    int32_t saved_time = 0;
    int32_t saved_heat = 0;
    int32_t dot_phase = 0;  // delayed-start countdown animation
    int32_t delay_seconds_left = -1;  // the countdown's last reading; -1 before its first

    // --- button hold and keys --------------------------------------------
    int32_t button_down = 0;
    int32_t held_button = kHeldNone;
    int32_t hold_ticks = 0;
    int32_t alt_enter_count = 0;

    // --- serial link -----------------------------------------------------
    int32_t link_down = 1;
    int32_t port_found = 0;
    int32_t port_number = 0;
    std::string port_device;  // device path of the port the link opens
    int32_t hello_wait = 0;
    int32_t reconnecting = 0;
    int32_t upload_active = 0;
    int32_t upload_count = 0;
    int32_t download_index = 0;
    int32_t download_active = 0;

    // --- temperature smoothing -------------------------------------------
    std::array<int32_t, 10> temp_ring{};
    uint8_t temp_count = 0;
    uint8_t temp_pos = 0;

    bool EditInProgress() const { return edit_countdown > 0; }
    // ran: how long the current roast step has run.
    int32_t Ran() const { return run_elapsed - step_start; }
    bool IsReservedMachineOrUsb() const {
        return profile_name == kLastUsbSetting || profile_name == kMachineSetting;
    }
};
