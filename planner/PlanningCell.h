// A cell of the planning grid as a screen reader reads it: by its kind and
// hour, with its text.
#pragma once

#include <QTableWidgetItem>

namespace plan {

// "Meetings, 9h-10h": the column's kind and the row's hour, without the titles' padding.
QString cellTitle(const QString& kind, const QString& hour);
// The title and the entry: "Meetings, 9h-10h: Dentist", or "…: empty" for a cell without one.
QString cellName(const QString& kind, const QString& hour, const QString& text);

} // namespace plan

class TPlanningCell final : public QTableWidgetItem {
public:
    // The accessible text of an entry cell is its name above; the title cells read as their titles.
    QVariant data(int role) const override;
    QTableWidgetItem* clone() const override { return new TPlanningCell(*this); }
};
