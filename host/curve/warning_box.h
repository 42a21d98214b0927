// A warning in a box titled with the program's name that blocks nothing:
// it opens without a loop of its own, so the roast goes on being drawn
// and recorded while it shows, and goes when closed.
#pragma once

class QString;
class QWidget;

void ShowWarning(QWidget* parent, const QString& text);
