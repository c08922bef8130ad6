// Base of the program's windows: created once, shown and hidden, never
// destroyed before the end. Showing makes the window visible and brings it
// to the front; closing hides it.
#pragma once

#include <QWidget>

class TForm : public QWidget {
    Q_OBJECT
public:
    explicit TForm(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::Window);

    // Makes the window visible and brings it to the front; never modal.
    // (Closing is QWidget::close(): it runs FormCloseQuery and FormClose, then hides.)
    void showAndRaise();

    // Builds the window's controls now if it has not done so yet. A window
    // that puts them off builds them at the latest when it is first shown.
    void ensureControls();
    bool controlsCreated() const { return controlsCreated_; }
    void setVisible(bool visible) override;

    void setCaption(const QString& caption) { setWindowTitle(caption); }
    QString Caption() const { return windowTitle(); }
    void setClientSize(int width, int height) { resize(width, height); }
    // Covers `area`; where the window system places windows itself, the
    // whole output it shows the window on, its panels included.
    void coverScreen(const QRect& area);

protected:
    // The controls of a window that puts them off until they are needed, so
    // that a window nobody opens costs neither their memory nor the fonts
    // they measure. Runs once; the window's creation handler keeps what it
    // must record at creation for this to use.
    virtual void createControls() { }
    // Called, behind the error guard, each time the window becomes visible.
    virtual void FormShow() { }
    // Called, behind the error guard, each time the window closes.
    virtual void FormClose() { }
    // Whether a close request hides the window (true) or is refused.
    virtual bool FormCloseQuery() { return true; }

    // For a window that offers no minimise and keeps others disabled or
    // hidden while it is open: a window manager may minimise it all the
    // same, and the program would have no window left to return to, so it
    // comes back at once.
    void comeBackWhenMinimised() { comesBack_ = true; }

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool controlsCreated_ = false;
    bool comesBack_ = false;
};
