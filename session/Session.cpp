// Process-wide session state.
#include "session/Session.h"

#include "controls/Form.h"

Session& session()
{
    static Session current;
    return current;
}

void resetSession() { session() = Session {}; }

QList<QWidget*> programWindows()
{
    QList<QWidget*> windows;
    for (TForm* Session::*reference : windowReferences)
        windows.append(session().*reference);
    return windows;
}
