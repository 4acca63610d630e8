#pragma once

#include <QString>

// Where the look-up list writes the row the operator picked: the weighing
// screen's entry fields. The weighing screen's logic implements it; each write
// runs that field's own change handling, as when the program sets the field's
// text (an equal text changes nothing).
class DestinoEscolha
{
public:
    virtual ~DestinoEscolha() = default;

    // Sets the text of entry field `campo` (txt 0 to 18). The list writes only
    // field 0 (and then 1, the plate, for a pending first weighing), 2, 4, 6,
    // 8 or 10.
    virtual void setTxt(int campo, const QString& texto) = 0;
};
