// What the windows share: the start folder, the current menu, the alarm
// message and the references to the seven windows. A window reaches another
// only as a TForm (to show, hide, enable or close it); what needs more is
// wired at start-up, where every window class is known.
#pragma once

#include "session/Menu.h"

#include <QList>
#include <QString>
#include <array>

class QWidget;
class TForm;

struct Session {
    // The current folder when the control box was created; never changed afterwards.
    QString StartFolder;
    CurrentMenu Menu;
    // Shown when the alarm fires; at most 100 characters.
    QString AlarmMessage;

    // Set as each window is created and cleared as it goes; null otherwise.
    TForm* Form1 = nullptr; // the control box
    TForm* MainForm = nullptr; // the launcher screen
    TForm* Form2 = nullptr; // the gadget editor
    TForm* MainFormer = nullptr; // the planner
    TForm* Alarm1 = nullptr; // the alarm dialog
    TForm* Form3 = nullptr; // the screen blanker
    TForm* Form4 = nullptr; // the about panel
};

// The seven window references in their order of creation.
inline constexpr std::array<TForm * Session::*, 7> windowReferences { &Session::Form1, &Session::MainForm,
    &Session::Form2, &Session::MainFormer, &Session::Alarm1, &Session::Form3, &Session::Form4 };

Session& session();

// Empties the session (a fresh start for tests).
void resetSession();

// The program's windows in their order of creation; null for those that do not exist.
QList<QWidget*> programWindows();
