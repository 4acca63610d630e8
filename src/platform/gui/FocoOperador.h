#pragma once

#include <Qt>

// A focus move the operator made: Tab and Shift+Tab, a click, an access key.
// Qt moves the focus, or gives it again to the control that had it, for other
// reasons too: the program's own setFocus(), a box or window opening and
// closing, the window activated again, a popup or menu closing. The original
// platform ran no focus handler for those, and the windows follow only the
// operator's moves: their logic knows its own.
bool movidoPeloOperador(Qt::FocusReason razao);
