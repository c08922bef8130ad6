// Painted over the launcher's gadgets while the user types to find: the
// gadgets that match stand out in a frame, the rest are dimmed. It takes
// no input, and hidden it leaves the gadgets exactly as they were.
#pragma once

#include <QWidget>
#include <array>

class FindMarks final : public QWidget {
    Q_OBJECT
public:
    // Covers the whole of `panel`, whose children include the gadgets.
    FindMarks(QWidget* panel, const std::array<QWidget*, 57>& gadgets);

    // Frames the gadgets marked at 1 to 56, with a second frame round
    // `chosen` (0: none), and dims the others.
    void mark(const std::array<bool, 57>& marked, int chosen);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::array<QWidget*, 57> gadgets_;
    std::array<bool, 57> marked_ {};
    int chosen_ = 0;
};
