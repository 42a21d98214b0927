// The program's name as its message boxes show it in their title bar, and
// texts more than one window says.
#pragma once

#include <QString>

inline const QString kProgramName = QStringLiteral("Kavolo Roaster");

// What "Roast again" and "Save steps as profile…" use of a roast, said in
// their tooltips: the steps it ran, or for a followed roast the program
// follow mode's steering came to.
inline const QString kRoastAgainTip =
    QStringLiteral("Makes the steps this roast ran the current profile, and shows it as the background");
inline const QString kRoastAgainSteeredTip = QStringLiteral(
    "This roast was followed: makes the program its steering came to (steps that give its curve again with "
    "follow mode off) the current profile, and shows it as the background");
inline const QString kSaveStepsTip = QStringLiteral("Saves the steps this roast ran as a profile file");
inline const QString kSaveStepsSteeredTip = QStringLiteral(
    "This roast was followed: saves the program its steering came to (steps that give its curve again with "
    "follow mode off) as a profile file");

// "Plan a program", for the background or the roast shown.
inline const QString kPlanBackgroundTip = QStringLiteral(
    "Makes a program of at most 20 steps that the roaster model says gives the background's curve on this "
    "roaster by itself, and makes it the current profile (not saved; nothing is sent before POWER)");
inline const QString kPlanShownTip = QStringLiteral(
    "Makes a program of at most 20 steps that the roaster model says gives this roast's curve on this roaster "
    "by itself, and makes it the current profile (not saved; nothing is sent before POWER)");
