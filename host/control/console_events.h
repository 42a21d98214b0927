// What the roast logic tells the parts that watch it (the roast recorder,
// the windows, follow mode): every reading the roaster sends, the state
// after every event the logic handled, a change of the panel's temperature
// unit, and the user's input before it acts.
// The logic tells its one ConsoleEvents, which tells every listener in the
// order they were added.
#pragma once

#include <cstdint>
#include <vector>

struct Console;

class ConsoleListener {
public:
    virtual ~ConsoleListener() = default;

    // A reply frame of the running link brought `raw`: told once the
    // reading is taken, before the frame's other effects.
    virtual void OnReading(int32_t raw, const Console& console) {
        (void)raw;
        (void)console;
    }
    // An event (a timer, a click, a press, a key, a serial event, an
    // editor message) was handled; `console` is as it left it.
    virtual void OnHandled(const Console& console) { (void)console; }
    // The panel's temperature unit changed to °C (true) or °F.
    virtual void OnUnitChanged(bool celsius) { (void)celsius; }
    // The user pressed something: a panel button (a click or a press; not
    // the temperature window, whose unit changes nothing of the roast), a
    // key that reached the key filter, the clock picker, or the step
    // editor. Told before the input acts; `console` is as it was.
    virtual void OnUserInput(const Console& console) { (void)console; }
};

class ConsoleEvents {
public:
    explicit ConsoleEvents(const Console& console);

    // A listener added is told from the next event on; one removed (also
    // while it is being told) is told nothing more.
    void Add(ConsoleListener& listener);
    void Remove(ConsoleListener& listener);

    // The receive handling took a reading.
    void Reading(int32_t raw);
    // An event was handled: every listener sees the state it left, and,
    // when the event switched the panel's unit, the new unit.
    void Handled();
    // The user's input is about to act.
    void UserInput();

private:
    template <typename F>
    void TellAll(F&& tell);

    const Console& console_;
    std::vector<ConsoleListener*> listeners_;  // null where one was removed while telling
    int telling_ = 0;
    bool celsius_ = false;  // the unit the listeners were last told of
};
