// The planning grid: one day's entries by hour and kind, kept in one file
// per user, with the log-in check and the tree of days and list of a day
// that it fills.
#pragma once

#include "planner/PlanStore.h"

#include <QDate>
#include <QImage>
#include <QPointer>
#include <QStringList>
#include <QTableWidget>
#include <QTreeWidget>

class PlanningDelegate;

class TPlanning final : public QTableWidget {
    Q_OBJECT
public:
    explicit TPlanning(QWidget* owner = nullptr);
    // Saves the day the grid shows.
    ~TPlanning() override;

    // Roles of the tree and list items.
    static constexpr int DateRole = Qt::UserRole; // the day of a day node or list item
    static constexpr int ImageIndexRole = Qt::UserRole + 1; // picture of a node or item
    static constexpr int StateIndexRole = Qt::UserRole + 2; // 1 done, 0 not done

    QDate PlanDate() const { return planDate_; }
    int Day() const { return planDate_.day(); }
    int Month() const { return planDate_.month(); }
    int Year() const { return planDate_.year(); }
    // Each ignores a value below 1, beyond its range or unchanged, and
    // raises "Invalid argument to date encode" for a combination that is no date.
    void setDay(int value);
    void setMonth(int value);
    void setYear(int value);
    // Moves to `date` in one step, without trying a mixed combination of
    // the old and the new day, month and year.
    void SetPlanDate(const QDate& date);

    QString User() const { return user_; }
    void setUser(const QString& user) { user_ = user; }
    QString Pass() const { return pass_; }
    void setPass(const QString& pass) { pass_ = pass; }
    bool Authentication() const { return authentication_; }
    void setAuthentication(bool value) { authentication_ = value; }
    // Folder of the user file and the planner files, ending in a separator.
    QString Path() const { return path_; }
    void setPath(const QString& path) { path_ = path; }

    QTreeWidget* TreeView() const { return treeView_; }
    void setTreeView(QTreeWidget* view) { treeView_ = view; }
    QTreeWidget* ListView() const { return listView_; }
    void setListView(QTreeWidget* view) { listView_ = view; }
    // Pictures of the tree nodes and of the list items (the states at 0
    // and 1, the kinds from 2 on); set by the host.
    void setTreeImages(const QList<QImage>& images) { treeImages_ = images; }
    void setListImages(const QList<QImage>& images) { listImages_ = images; }

    const QStringList& ColList() const { return colList_; }
    // Taken only with exactly one title per column.
    void setColList(const QStringList& titles);
    const QStringList& RowList() const { return rowList_; }
    // Taken only with exactly one title per hour row.
    void setRowList(const QStringList& titles);

    int ColCount() const { return columnCount(); }
    int RowCount() const { return rowCount(); }
    QString Cells(int column, int row) const;
    void setCells(int column, int row, const QString& text);

    // Overlays the current day's stored entries onto the cells.
    void LoadDay();
    // Empties every data cell, the open cell editor included; the store is untouched.
    void ClearDay();
    // Merges the day's cells into the store and writes the planner file
    // (not when no user is set).
    void SaveDay();
    // The log-in check of User and Pass; registers a name the user file does not hold.
    bool CheckUser();
    // The user node and, below it, the years, months and days the planner file holds.
    void FillTree();
    // The entries the planner file holds for `date`; an invalid date lists nothing.
    void FillList(const QDate& date);
    // Flips the done mark of the list's first selected entry, writes the
    // file and refills the list; nothing when the entry is not stored.
    void ToggleDone();

    // Reads the planner file into the store; a missing file keeps the store.
    void LoadStore();
    // Whether User has a planner file; nobody has one without a name.
    bool HasPlannerFile() const;
    // Forgets the entries of the user last loaded.
    void ClearStore() { store_.clear(); }
    const plan::PlanStore& Store() const { return store_; }

    QString UserFileName() const;
    QString PlannerFileName() const;

    // The text typed into the open cell editor becomes the cell's text.
    void CommitEditor();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void SetDefaultTitles();
    void ApplyColTitles();
    void ApplyRowTitles();
    void RefreshEditor();
    // The days the planner file `file` holds entries for, and one day's lines.
    std::vector<QDate> StoredDays(const QString& file) const;
    QList<QByteArray> LinesOfDay(const QString& file, const QDate& date) const;
    QIcon listIcon(int kind, bool done) const;

    QDate planDate_;
    QString user_;
    QString pass_;
    bool authentication_ = false;
    QString path_;
    QPointer<QTreeWidget> treeView_;
    QPointer<QTreeWidget> listView_;
    QList<QImage> treeImages_;
    QList<QImage> listImages_;
    QStringList colList_;
    QStringList rowList_;
    plan::PlanStore store_;
    PlanningDelegate* delegate_;
};
