// Where the note program keeps its note.
#pragma once

#include <QString>

struct NotePlace {
    QString file; // read and written
    QString olderFile; // read when `file` does not exist yet; empty for none
};

// PinNotes.txt beside the program in `programFolder` where the program keeps
// its files there (platform::keepsFilesBesideProgram). Otherwise PinNotes.txt
// in the user's data folder, starting from the note an older copy left beside
// the program, if any.
NotePlace notePlace(const QString& programFolder);
