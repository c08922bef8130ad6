// Pictures of the planner window: the arrow, refresh and clear buttons and
// the pictures of the tree nodes and of the list's kinds and done states.
#pragma once

#include <QImage>
#include <QList>

namespace plannerglyphs {

// 16 x 16 pictures on a transparent background.
QImage arrowLeft();
QImage arrowRight();
QImage refresh();
QImage clearDay();

// Tree nodes: 0 year, 1 month, 2 user, 3 day.
QList<QImage> treeImages();
// List items: 0 not done, 1 done, 2 Meetings, 3 Tasks, 4 Projects, 5 Phone.
QList<QImage> listImages();

} // namespace plannerglyphs
