// Message boxes behind one seam, so tests never wait on a modal box.
#pragma once

#include <QString>
#include <exception>
#include <memory>

class QMessageBox;

namespace platform {

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // An information box with one OK button and a fixed caption; returns when it is dismissed.
    virtual void information(const QString& caption, const QString& text) = 0;

    // The application's standard error box: caption "Kavro Start", error icon, one OK button.
    virtual void error(const QString& text) = 0;

    // An information box with OK and a second button beside it; true when
    // that button answered it. Return, Escape and the close box answer OK.
    // Boxes that offer no second button show the plain box.
    virtual bool informationWithChoice(const QString& caption, const QString& text, const QString& otherButton)
    {
        (void)otherButton;
        information(caption, text);
        return false;
    }
};

// The box the system's dialogs show: one OK button, the caption exactly as
// given, the text as plain text; it comes up above the program's stay-on-top
// windows and takes the focus.
enum class BoxKind { Information, Error };
std::unique_ptr<QMessageBox> messageBox(BoxKind kind, const QString& caption, const QString& text);
// The same information box with `otherButton` beside OK, which stays its
// default and its answer to Escape and the close box.
std::unique_ptr<QMessageBox> messageBox(const QString& caption, const QString& text, const QString& otherButton);

// The dialogs in use: the system's message boxes unless a test installed its own.
Dialogs& dialogs();

// Installs `replacement` (not owned); nullptr restores the system's boxes.
void setDialogs(Dialogs* replacement);

// Shows an error in the standard error box: the message followed by a full stop.
void reportException(const std::exception& error);

} // namespace platform
