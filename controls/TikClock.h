// Analogue clock control.
#pragma once

#include <QWidget>

enum class TTickingClockMode { tcmIdle, tcmChronoMeter, tcmClock };

class TTickingClock : public QWidget {
    Q_OBJECT
public:
    explicit TTickingClock(QWidget* parent = nullptr);

    TTickingClockMode Mode() const { return mode_; }
    void setMode(TTickingClockMode mode) { mode_ = mode; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TTickingClockMode mode_ = TTickingClockMode::tcmIdle;
    bool pressed_ = false;
};
