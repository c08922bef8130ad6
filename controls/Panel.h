// A panel with optional bevels, a single border and a caption.
#pragma once

#include <QWidget>

enum class TPanelBevel { bvNone, bvLowered, bvRaised };
enum class TPanelAlignment { taLeftJustify, taCenter };

class TPanel : public QWidget {
    Q_OBJECT
public:
    explicit TPanel(QWidget* parent = nullptr);

    void setColor(const QColor& color);
    QColor Color() const { return color_; }
    void setBevelOuter(TPanelBevel bevel);
    void setBevelInner(TPanelBevel bevel);
    // A single border is a one-pixel frame outside the panel's client area.
    void setBorderSingle(bool single);
    bool BorderSingle() const { return borderSingle_; }
    void setCaption(const QString& caption);
    QString Caption() const { return caption_; }
    void setAlignment(TPanelAlignment alignment);
    void setFontColor(const QColor& color);

    // Places a child at client coordinates (inside the single border).
    void place(QWidget* child, int left, int top, int width, int height) const;
    int borderWidth() const { return borderSingle_ ? 1 : 0; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QColor color_;
    QColor fontColor_ = Qt::black;
    TPanelBevel outer_ = TPanelBevel::bvRaised;
    TPanelBevel inner_ = TPanelBevel::bvNone;
    bool borderSingle_ = false;
    bool pressed_ = false;
    QString caption_;
    TPanelAlignment alignment_ = TPanelAlignment::taCenter;
};

// An outline rectangle (clear brush, one-pixel pen) that takes no mouse input.
class TShape : public QWidget {
    Q_OBJECT
public:
    explicit TShape(QWidget* parent = nullptr, QColor pen = Qt::black);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor pen_;
};

// Draws the classic one-pixel 3-D frame: top and left in `topLeft`, bottom
// and right in `bottomRight`, then shrinks `rect` by one on every side.
class QPainter;
void frame3D(QPainter& painter, QRect& rect, const QColor& topLeft, const QColor& bottomRight);
