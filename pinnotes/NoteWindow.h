// The note program's window: one yellow note that stays on top and keeps
// its text in a file beside the program.
#pragma once

#include <QWidget>

class QPlainTextEdit;
class QTimer;

class NoteWindow final : public QWidget {
    Q_OBJECT
public:
    // Shows the text of `notesFile`, or of `olderFile` while `notesFile` does
    // not exist, and writes every change to `notesFile`, making its folder
    // (for this user alone) when needed.
    explicit NoteWindow(QString notesFile, const QString& olderFile = {}, QWidget* parent = nullptr);
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
