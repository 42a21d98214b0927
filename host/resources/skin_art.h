// The pictures of the front panel, painted once when the window starts:
// the skin, the seven-segment digits, the lamps, the temperature faces, the
// SELECT plate and the state images of every skin button.
//
// Pictures are looked up by their identifier (picture_ids.h) or, for the
// skin buttons, by the button's caption and one state letter: U up, D down,
// F focus, X disabled ("CREATEU"). A picture that does not exist comes back
// as a null pixmap.
#pragma once

#include <QHash>
#include <QPixmap>
#include <QString>
#include <map>

class SkinArt {
public:
    SkinArt();

    QPixmap Picture(int id) const;
    QPixmap Named(const QString& name) const;

    // The program's icon at the given edge length.
    static QPixmap Icon(int size);

private:
    std::map<int, QPixmap> pictures_;
    QHash<QString, QPixmap> named_;
};
