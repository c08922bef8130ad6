// The note program's window: one yellow note that stays on top and keeps
// its text in a file beside the program.
#pragma once

#include <QWidget>

class QPlainTextEdit;
class QTimer;

class NoteWindow final : public QWidget {
    Q_OBJECT
public:
    // Shows the text of `notesFile` (when it exists) and writes every change back to it.
    explicit NoteWindow(QString notesFile, QWidget* parent = nullptr);
    ~NoteWindow() override;

    QString text() const;
    // Writes the text now; returns false (and says why in the title) when the file cannot be written.
    bool save();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QString notesFile_;
    QPlainTextEdit* editor_;
    QTimer* saveTimer_;
    bool dirty_ = false;
};
