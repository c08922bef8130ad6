// Tells whether a widget has been painted since the watch on it began.
#pragma once

#include <QEvent>
#include <QWidget>

class PaintSeen final : public QObject {
public:
    explicit PaintSeen(QWidget* widget)
        : widget_(widget)
    {
        widget_->installEventFilter(this);
    }
    ~PaintSeen() override { widget_->removeEventFilter(this); }
    PaintSeen(const PaintSeen&) = delete;
    PaintSeen& operator=(const PaintSeen&) = delete;

    bool seen() const { return seen_; }

    bool eventFilter(QObject*, QEvent* event) override
    {
        seen_ = seen_ || event->type() == QEvent::Paint;
        return false;
    }

private:
    QWidget* widget_;
    bool seen_ = false;
};
