// An up-down control: two arrow buttons that step a position within a range
// and show it in an attached edit box.
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

enum class TUDBtnType { btNext, btPrev };

class TUpDown final : public QWidget {
    Q_OBJECT
public:
    explicit TUpDown(QWidget* parent = nullptr);

    int Min() const { return min_; }
    int Max() const { return max_; }
    void setRange(int min, int max);
    int Position() const { return position_; }
    // Kept within the range; the attached edit shows the new value.
    void setPosition(int value);
    // Without wrap-around an arrow at the end of the range has no effect.
    bool Wrap() const { return wrap_; }
    void setWrap(bool value) { wrap_ = value; }

    // The edit box that shows the position; its up and down keys work the arrows.
    void setAssociate(QLineEdit* edit);
    QLineEdit* Associate() const { return associate_; }

    // Works an arrow as a click on it would.
    void Step(TUDBtnType button);

    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

signals:
    // After each use of an arrow, once the position has been stepped.
    void clicked(TUDBtnType button);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showPosition();

    QToolButton* up_;
    QToolButton* down_;
    QLineEdit* associate_ = nullptr;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    bool wrap_ = false;
};
