// The screen blanker: a black, borderless, stay-on-top window over every
// screen of the desktop that any mouse movement, button or key takes away.
#pragma once

#include "controls/Form.h"

#include <QPoint>
#include <QTimer>

class TForm3 final : public TForm {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);

    // How long a showing waits for the platform's first mouse-move message
    // before it takes the cursor's place at showing as the resting place.
    static constexpr int RestingPlaceWaitMs = 100;

    // Handlers.
    void FormCreate();
    void FormMouseMove(QPoint at);
    void FormClick();
    void FormMouseDown();
    void FormKeyDown();

    // Where the mouse rests, in window pixels; (-1, -1) until it is known.
    QPoint LastMousePosition() const { return lastMouse_; }

protected:
    void FormShow() override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    static constexpr QPoint unknown { -1, -1 };

    QPoint lastMouse_ = unknown;
    QPoint cursorAtShow_ = unknown;
    QTimer restingPlaceWait_;
    bool pressed_ = false;
};
