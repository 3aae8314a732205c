// The general settings dialog: the start-up and tray options of the settings, and the two
// buttons that register or remove the project-file association through TaskRelay.
// Saving the settings after OK is the caller's.
#pragma once

#include <QDialog>

#include "dialogs/Ttaskrelay.h"

class QCheckBox;
class QCommandLinkButton;
class QPushButton;
class QTabWidget;
class TConfig;

class TFormConfigGeneral : public QDialog {
    Q_OBJECT

public:
    explicit TFormConfigGeneral(QWidget* owner);

    void LoadConfig(const TConfig& config);
    void StoreConfig(TConfig& config) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ButtonLinkSetClick();
    void ButtonLinkUnSetClick();

    QTabWidget* PageControl1;
    QCheckBox* CheckBoxProjectFileRestore;
    QCheckBox* CheckBoxWindowPositionRestore;
    QCommandLinkButton* ButtonLinkSet;
    QCommandLinkButton* ButtonLinkUnSet;
    QCheckBox* CheckBoxInTaskTray;
    QCheckBox* CheckBoxSkipUnreadableBooks;
    QCheckBox* CheckBoxSearchHiddenCells;
    QCheckBox* CheckBoxUseSearchIndex;
    QPushButton* BitBtn3;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    TTaskRelay relay_;
};
