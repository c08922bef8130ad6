// Process-wide session state.
#include "app/Session.h"

Session& session()
{
    static Session current;
    return current;
}

void resetSession() { session() = Session {}; }
