// The about panel: the program's name, the registered owner and
// organisation, the physical memory and the memory load.
#pragma once

#include "controls/Form.h"

#include <QImage>

class QLabel;
class QPushButton;
class TPanel;
class TPlayWav;
class TSysInfo32;

// Bytes as whole kilobytes with thousands separators and " KB"
// (16,220,160 bytes give "15,840 KB"); no digits at all for zero.
QString formatKilobytes(quint64 bytes);

// The memory load in percent ("63 %").
QString formatMemoryLoad(int percent);

// The panel's 32 x 32 picture: the control box's clock in small.
QImage aboutPicture();

class TForm4 final : public TForm {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);

    static constexpr int PanelWidth = 345;
    static constexpr int PanelHeight = 281;

    void FormCreate();
    void OKButtonClick();

    TPanel* Panel1;
    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QLabel* OwnerLabel;
    QLabel* OrganizationLabel;
    QWidget* Bevel1;
    QLabel* MemoryCaption;
    QLabel* MemoryValue;
    QLabel* LoadCaption;
    QLabel* LoadValue;
    QPushButton* OKButton;
    TSysInfo32* SysInfo321;
    TPlayWav* PlayWav1;

protected:
    void createControls() override;
    void FormShow() override;
    void FormClose() override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The windows the panel keeps disabled while it shows.
    QList<QWidget*> blockedWindows() const;
    void enableOthers();

    bool othersDisabled_ = false;
    // The texts of the figures as they stood at creation.
    struct Figures {
        QString owner;
        QString organization;
        QString memory;
        QString load;
    } figures_;
};
