// A thin panel between a tree view and a list view: dragging it sideways
// widens one view and narrows the other.
#pragma once

#include "controls/Panel.h"

#include <QPointer>

class TSplitter final : public TPanel {
    Q_OBJECT
public:
    explicit TSplitter(QWidget* parent = nullptr);

    // The view on the left and the view on the right; both set before a drag.
    QWidget* TreeView() const { return treeView_; }
    void setTreeView(QWidget* view) { treeView_ = view; }
    QWidget* ListView() const { return listView_; }
    void setListView(QWidget* view) { listView_ = view; }

    bool Dragging() const { return dragging_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPointer<QWidget> treeView_;
    QPointer<QWidget> listView_;
    bool dragging_ = false;
    int startX_ = 0;
    int startY_ = 0;
    // Where the splitter and the views stood at the press.
    struct {
        int splitterX = 0;
        int treeWidth = 0;
        QRect list;
    } atPress_;
};
