// Planning grid.
#include "planner/Plann32.h"

#include "controls/Panel.h"
#include "planner/PlanningCell.h"
#include "planner/ShortDates.h"
#include "platform/Clock.h"
#include "platform/FileIO.h"
#include "platform/FilePaths.h"
#include "platform/Guard.h"
#include "platform/ProfileFile.h"
#include "platform/SystemColors.h"
#include "rtl/DateUtils.h"
#include "rtl/Errors.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTreeWidget>

namespace {

constexpr int Columns = 5;
constexpr int Rows = 13;
const QString UserFile = QStringLiteral("Zure003.usr");
const QString PassSection = QStringLiteral("Pass");

QString shortDate(const QDate& date) { return QLocale().toString(date, QLocale::ShortFormat); }

} // namespace

// Draws the title cells raised in the button face and keeps track of the
// open cell editor, so its text can be committed before a save and
// refreshed after the cells change under it.
class PlanningDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        editor->setAccessibleName(
            plan::cellTitle(index.siblingAtRow(0).data().toString(), index.siblingAtColumn(0).data().toString()));
        editor_ = editor;
        editorIndex_ = index;
        return editor;
    }

    void destroyEditor(QWidget* editor, const QModelIndex& index) const override
    {
        if (editor == editor_)
            editor_ = nullptr;
        QStyledItemDelegate::destroyEditor(editor, index);
    }

    QWidget* editor() const { return editor_; }
    QModelIndex editorIndex() const { return editorIndex_; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (index.row() != 0 && index.column() != 0) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        painter->save();
        QRect r = option.rect;
        painter->fillRect(r, platform::sysColor(platform::COLOR_BTNFACE));
        frame3D(*painter, r, platform::sysColor(platform::COLOR_BTNHIGHLIGHT),
            platform::sysColor(platform::COLOR_BTNSHADOW));
        painter->setPen(platform::sysColor(platform::COLOR_BTNTEXT));
        painter->setFont(option.font);
        painter->drawText(
            r.adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, index.data().toString());
        painter->restore();
    }

private:
    mutable QPointer<QWidget> editor_;
    mutable QPersistentModelIndex editorIndex_;
};

TPlanning::TPlanning(QWidget* owner)
    : QTableWidget(Rows, Columns, owner)
    , planDate_(platform::now().date())
    , path_(platform::currentFolder() + u'/')
    , delegate_(new PlanningDelegate(this))
{
    setItemDelegate(delegate_);
    setAccessibleName(QStringLiteral("Planning grid"));
    resize(374, 250);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setDefaultSectionSize(80);
    verticalHeader()->setDefaultSectionSize(18);
    setColumnWidth(0, 45);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    setWordWrap(false);
    // The editor opens on the current cell as soon as it becomes current.
    setEditTriggers(QAbstractItemView::AllEditTriggers);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, platform::sysColor(platform::COLOR_INFOBK));
    colours.setColor(QPalette::Text, platform::sysColor(platform::COLOR_INFOTEXT));
    setPalette(colours);

    for (int r = 0; r < Rows; ++r) {
        for (int c = 0; c < Columns; ++c) {
            auto* item = new TPlanningCell;
            if (r == 0 || c == 0)
                item->setFlags(Qt::NoItemFlags);
            setItem(r, c, item);
        }
    }
    setCurrentCell(1, 1);
    SetDefaultTitles();
}

TPlanning::~TPlanning()
{
    platform::guarded([this] { SaveDay(); });
}

void TPlanning::setDay(int value)
{
    if (value < 1 || value > rtl::MonthLength(Year(), Month()) || value == Day())
        return;
    planDate_ = rtl::EncodeDate(Year(), Month(), value);
}

void TPlanning::setMonth(int value)
{
    if (value < 1 || value > 12 || value == Month())
        return;
    planDate_ = rtl::EncodeDate(Year(), value, Day());
}

void TPlanning::setYear(int value)
{
    if (value < 1 || value == Year())
        return;
    planDate_ = rtl::EncodeDate(value, Month(), Day());
}

void TPlanning::SetPlanDate(const QDate& date)
{
    if (!date.isValid())
        rtl::raiseInvalidDate();
    planDate_ = date;
}

void TPlanning::SetDefaultTitles()
{
    if (colList_.isEmpty()) {
        colList_ = { QStringLiteral(" Hour"), QStringLiteral(" Meetings"), QStringLiteral(" Tasks"),
            QStringLiteral(" Projects"), QStringLiteral(" Phone") };
        ApplyColTitles();
    }
    if (rowList_.isEmpty()) {
        for (int i = 1; i <= 12; ++i)
            rowList_.append(QStringLiteral("%1h-%2h").arg(i + 7).arg(i + 8));
        ApplyRowTitles();
    }
}

void TPlanning::ApplyColTitles()
{
    for (int c = 0; c < ColCount() && c < colList_.size(); ++c)
        setCells(c, 0, colList_.at(c));
}

void TPlanning::ApplyRowTitles()
{
    for (int r = 1; r < RowCount() && r - 1 < rowList_.size(); ++r)
        setCells(0, r, rowList_.at(r - 1));
}

void TPlanning::setColList(const QStringList& titles)
{
    if (titles.size() != ColCount())
        return;
    colList_ = titles;
    ApplyColTitles();
}

void TPlanning::setRowList(const QStringList& titles)
{
    if (titles.size() != RowCount() - 1)
        return;
    rowList_ = titles;
    ApplyRowTitles();
}

QString TPlanning::Cells(int column, int row) const
{
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

void TPlanning::setCells(int column, int row, const QString& text)
{
    if (QTableWidgetItem* cell = item(row, column))
        cell->setText(text);
}

// The planner's own files are matched by the rule the user file matches its
// keys by, so that two different keys never reach one planner file.
QString TPlanning::UserFileName() const
{
    return platform::findIgnoringAsciiCase(platform::resolvePath(path_), UserFile);
}

QString TPlanning::PlannerFileName() const
{
    return platform::findIgnoringAsciiCase(platform::resolvePath(path_), user_ + QStringLiteral(".tpl"));
}

void TPlanning::CommitEditor()
{
    if (QWidget* editor = delegate_->editor())
        commitData(editor);
}

void TPlanning::RefreshEditor()
{
    if (QWidget* editor = delegate_->editor(); editor && delegate_->editorIndex().isValid())
        delegate_->setEditorData(editor, delegate_->editorIndex());
}

bool TPlanning::HasPlannerFile() const { return !user_.isEmpty() && QFileInfo(PlannerFileName()).isFile(); }

void TPlanning::LoadStore()
{
    if (!user_.isEmpty())
        store_.load(PlannerFileName());
}

// The store, when it holds exactly what the file holds, spares reading it again.
std::vector<QDate> TPlanning::StoredDays(const QString& file) const
{
    if (store_.mirrors(file))
        return plan::storedDays(store_, ColCount() - 1, RowCount() - 1);
    return plan::storedDays(platform::readWholeFile(file), ColCount() - 1, RowCount() - 1);
}

QList<QByteArray> TPlanning::LinesOfDay(const QString& file, const QDate& date) const
{
    if (store_.mirrors(file))
        return plan::linesOfDay(store_, date, ColCount() - 1, RowCount() - 1);
    return plan::linesOfDay(platform::readWholeFile(file), date, ColCount() - 1, RowCount() - 1);
}

void TPlanning::LoadDay()
{
    // A day that cannot be packed has no key of its own.
    if (!plan::canPack(planDate_))
        return;
    CommitEditor();
    const qint32 stamp = plan::packDate(planDate_);
    LoadStore();
    for (int c = 1; c < ColCount(); ++c) {
        for (int r = 1; r < RowCount(); ++r) {
            const qsizetype i = store_.find(plan::makeKey(stamp, c, r));
            if (i >= 0)
                setCells(c, r, QString::fromLocal8Bit(plan::EntryText(store_.LineList().at(i))));
        }
    }
    RefreshEditor();
}

void TPlanning::ClearDay()
{
    for (int c = 1; c < ColCount(); ++c)
        for (int r = 1; r < RowCount(); ++r)
            setCells(c, r, QString());
    RefreshEditor();
}

void TPlanning::SaveDay()
{
    if (!plan::canPack(planDate_))
        return;
    CommitEditor();
    store_.mergeDay(
        plan::packDate(planDate_), ColCount() - 1, RowCount() - 1, [this](int c, int r) { return Cells(c, r); });
    if (!user_.isEmpty())
        store_.save(PlannerFileName());
}

bool TPlanning::CheckUser()
{
    platform::ProfileFile users(UserFileName());
    users.setNewFileMode(0600);
    if (!authentication_)
        return true;
    // A line break in a password would write lines of its own into the user file.
    if (const QString problem = plan::passwordProblem(pass_); !problem.isEmpty())
        throw rtl::Exception(problem);
    // A name is registered when its key exists, whatever password it holds.
    if (!users.hasKey(PassSection, user_)) {
        users.writeString(PassSection, user_, plan::storedPassword(pass_));
        return true;
    }
    return users.readString(PassSection, user_, QString()) == pass_;
}

void TPlanning::FillTree()
{
    if (!treeView_)
        return;
    treeView_->clear();
    // One icon per picture, shared by all the nodes that show it.
    QList<QIcon> icons;
    for (const QImage& image : std::as_const(treeImages_))
        icons.append(QIcon(QPixmap::fromImage(image)));
    auto setImage = [&icons](QTreeWidgetItem* node, int index) {
        node->setData(0, ImageIndexRole, index);
        if (index < icons.size())
            node->setIcon(0, icons.at(index));
    };
    // The nodes are built apart and go into the tree at once.
    auto* userNode = new QTreeWidgetItem(QStringList(user_));
    setImage(userNode, 2);
    const QString file = PlannerFileName();
    if (!HasPlannerFile()) {
        treeView_->addTopLevelItem(userNode);
        return;
    }
    const std::vector<QDate> days = StoredDays(file);
    QTreeWidgetItem* yearNode = nullptr;
    QTreeWidgetItem* monthNode = nullptr;
    QDate last;
    const rtl::DateTimePattern yearText(QStringLiteral("yy"));
    const rtl::DateTimePattern monthText(QStringLiteral("mmmm"));
    ShortDates dayText;
    for (const QDate& day : days) {
        // Grouped by the full year: 1999 and 2099 share "99" but not a node.
        if (!yearNode || day.year() != last.year()) {
            yearNode = new QTreeWidgetItem(userNode, QStringList(yearText.format(day)));
            setImage(yearNode, 0);
            monthNode = nullptr;
        }
        if (!monthNode || day.month() != last.month()) {
            monthNode = new QTreeWidgetItem(yearNode, QStringList(monthText.format(day)));
            setImage(monthNode, 1);
        }
        auto* dayNode = new QTreeWidgetItem(monthNode, QStringList(dayText(day)));
        dayNode->setData(0, DateRole, day);
        setImage(dayNode, 3);
        last = day;
    }
    treeView_->addTopLevelItem(userNode);
    userNode->setExpanded(true);
}

QIcon TPlanning::listIcon(int kind, bool done) const
{
    const int state = done ? 1 : 0;
    if (state >= listImages_.size() || kind >= listImages_.size())
        return {};
    const QImage& stateImage = listImages_.at(state);
    const QImage& kindImage = listImages_.at(kind);
    QImage both(stateImage.width() + kindImage.width(), std::max(stateImage.height(), kindImage.height()),
        QImage::Format_ARGB32_Premultiplied);
    both.fill(Qt::transparent);
    QPainter painter(&both);
    painter.drawImage(0, 0, stateImage);
    painter.drawImage(stateImage.width(), 0, kindImage);
    painter.end();
    return QIcon(QPixmap::fromImage(both));
}

void TPlanning::FillList(const QDate& date)
{
    if (!listView_)
        return;
    listView_->clear();
    const QString file = PlannerFileName();
    if (!date.isValid() || !HasPlannerFile())
        return;
    const QList<QByteArray> lines = LinesOfDay(file, date);
    const QString dateText = shortDate(date);
    for (const QByteArray& line : lines) {
        const plan::EntryFields fields = *plan::parseEntry(line, ColCount() - 1, RowCount() - 1);
        const bool done = plan::isDone(line);
        auto* item = new QTreeWidgetItem(listView_,
            { QString::fromLocal8Bit(plan::EntryText(line)), dateText, Cells(0, fields.row), Cells(fields.column, 0) });
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        item->setData(0, DateRole, date);
        item->setData(0, ImageIndexRole, fields.column + 1);
        item->setData(0, StateIndexRole, done ? 1 : 0);
        item->setIcon(0, listIcon(fields.column + 1, done));
    }
}

void TPlanning::ToggleDone()
{
    if (!listView_)
        return;
    // The first selected item in the order the list shows.
    QTreeWidgetItem* selected = nullptr;
    for (int i = 0; i < listView_->topLevelItemCount() && !selected; ++i)
        if (listView_->topLevelItem(i)->isSelected())
            selected = listView_->topLevelItem(i);
    if (!selected)
        return;
    const QDate date = selected->data(0, DateRole).toDate();
    const QString hour = selected->text(2);
    const QString kind = selected->text(3);
    int row = 0, column = 0;
    for (int r = 1; r < RowCount(); ++r)
        if (Cells(0, r) == hour)
            row = r;
    for (int c = 1; c < ColCount(); ++c)
        if (Cells(c, 0) == kind)
            column = c;
    if (row == 0 || column == 0 || !plan::canPack(date))
        return;
    LoadStore();
    if (!store_.toggleDone(plan::makeKey(plan::packDate(date), column, row)))
        return;
    if (!user_.isEmpty())
        store_.save(PlannerFileName());
    FillList(date);
}

void TPlanning::keyPressEvent(QKeyEvent* event)
{
    // Enter ends the cell's editing and stays in the grid.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void TPlanning::focusInEvent(QFocusEvent* event)
{
    QTableWidget::focusInEvent(event);
    if (state() != QAbstractItemView::EditingState && currentIndex().isValid()
        && (currentIndex().flags() & Qt::ItemIsEditable))
        edit(currentIndex());
}
