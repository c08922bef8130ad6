// Planning grid cell.
#include "planner/PlanningCell.h"

#include <QTableWidget>

QString plan::cellTitle(const QString& kind, const QString& hour)
{
    return kind.trimmed() + QStringLiteral(", ") + hour.trimmed();
}

QString plan::cellName(const QString& kind, const QString& hour, const QString& text)
{
    return cellTitle(kind, hour) + QStringLiteral(": ") + (text.trimmed().isEmpty() ? QStringLiteral("empty") : text);
}

QVariant TPlanningCell::data(int role) const
{
    const QTableWidget* grid = tableWidget();
    if (role != Qt::AccessibleTextRole || !grid)
        return QTableWidgetItem::data(role);
    const int r = row();
    const int c = column();
    if (r < 1 || c < 1)
        return QTableWidgetItem::data(role);
    const QTableWidgetItem* kind = grid->item(0, c);
    const QTableWidgetItem* hour = grid->item(r, 0);
    return plan::cellName(kind ? kind->text() : QString(), hour ? hour->text() : QString(), text());
}
