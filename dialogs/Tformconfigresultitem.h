// The result column dialog: one check box per result-list column. The dialog only shows and
// returns a choice; turning it into widths is TConfig's and the main window's.
#pragma once

#include <QDialog>
#include <set>

class QListWidget;
class QPushButton;

class TFormConfigResultItem : public QDialog {
    Q_OBJECT

public:
    explicit TFormConfigResultItem(QWidget* owner);

    // Item i is checked exactly when i is in the choice.
    void SetChoice(const std::set<int>& choice);
    // The indexes of the checked items.
    std::set<int> Choice() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QListWidget* CheckListBox1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
};
