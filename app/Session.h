// The process-wide state shared by the windows: the start folder, the
// current menu, the alarm message and the references to the seven windows.
#pragma once

#include "launcher/Menu.h"

#include <QString>

class TForm1;
class TMainForm;
class TForm2;
class TMainFormer;
class TAlarm1;
class TForm3;
class TForm4;

struct Session {
    // The current folder when the control box was created; never changed afterwards.
    QString StartFolder;
    CurrentMenu Menu;
    // Shown when the alarm fires; at most 100 characters.
    QString AlarmMessage;

    TForm1* Form1 = nullptr;
    TMainForm* MainForm = nullptr;
    TForm2* Form2 = nullptr;
    TMainFormer* MainFormer = nullptr;
    TAlarm1* Alarm1 = nullptr;
    TForm3* Form3 = nullptr;
    TForm4* Form4 = nullptr;
};

Session& session();

// Empties the session (a fresh start for tests).
void resetSession();
