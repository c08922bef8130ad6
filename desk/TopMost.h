// Keeps its owner window above all ordinary windows, or releases it.
#pragma once

#include <QObject>

class QWidget;

class TTopMost final : public QObject {
    Q_OBJECT
public:
    // Makes the owner topmost at once.
    explicit TTopMost(QWidget* owner);

    bool TopMost() const { return topMost_; }
    // Setting the value it already has does nothing.
    void setTopMost(bool value);

private:
    void apply();

    QWidget* owner_;
    bool topMost_ = true;
};
