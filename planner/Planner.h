// The planner window: log-in, the month calendar, the planning grid, the
// tree of the user's days and the list of one day's entries.
#pragma once

#include "controls/Form.h"

#include <QDate>
#include <QImage>
#include <QList>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTreeWidget;
class TCalendar;
class TColorBitBtn;
class TColorSpeedButton;
class TPanel;
class TPlanning;
class TSplitter;

namespace plan {
struct PlannerLayout;
}

class TMainFormer final : public TForm {
    Q_OBJECT
public:
    explicit TMainFormer(QWidget* parent = nullptr);
    // Destroys the grid first, which saves the day it shows.
    ~TMainFormer() override;

    // Handlers.
    void FormCreate();
    void EnterBtnClick();
    void CaldChange();
    void SpeedButton1Click(); // a month back
    void SpeedButton2Click(); // a month forward
    void TodayBtnClick();
    void SpeedButton3Click(); // Refresh
    void ColorSpeedButton1Click(); // Clear day Entries
    void TreeView1Click();
    void ListView1Click();
    // The list's context menu: the logged-in user's entries from and to an iCalendar file.
    void ImportItemClick();
    void ExportItemClick();

    QLabel* User;
    QLabel* Pass;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    TColorSpeedButton* ColorSpeedButton1;
    TColorSpeedButton* SpeedButton3;
    TColorBitBtn* TodayBtn;
    QPushButton* EnterBtn;
    TPanel* Panel1;
    TPanel* Panel2;
    TColorSpeedButton* SpeedButton1;
    TColorSpeedButton* SpeedButton2;
    TCalendar* Cald;
    TPanel* Panel3;
    QTreeWidget* TreeView1;
    QTreeWidget* ListView1;
    TSplitter* Splitter1;
    QList<QImage> ImageList1;
    QList<QImage> ImageList2;
    TPlanning* Planning = nullptr;
    QMenu* ListMenu;
    QAction* ImportItem;
    QAction* ExportItem;

protected:
    void createControls() override;
    void FormShow() override;
    void FormClose() override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Saves the logged-in user's day into that user's file, then empties
    // grid, store, tree and list: nobody is logged in afterwards.
    void LeaveUser();
    // The tree as it stands while nobody is logged in.
    void ShowNobody();
    // The logged-in user's days, or the tree of nobody.
    void RefreshTree();
    void ShowDateCaption();
    // The grid's kinds and hours, as an import or export names them.
    plan::PlannerLayout GridLayout() const;
    // Where the next calendar file is chosen: where the last one was.
    QString CalendarFolder() const;

    bool shownBefore_ = false;
    QDate createdOn_;
    QString createdIn_;
    QString calendarFolder_;
};
