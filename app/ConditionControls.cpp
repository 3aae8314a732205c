#include "app/ConditionControls.h"

#include "storage/Tproject.h"
#include "ui_Tformmain.h"

#include <QListWidgetItem>

namespace {

// The check-list texts by file-type index (the first one keeps its trailing blank).
const char* const kFileTypeTexts[FileTypeCount] = {
    "Excelファイル(*.xls) ",
    "Excelファイル(*.xlsx) Excel 2007以降",
    "CSVファイル(*.CSV)",
};

Qt::CheckState CheckState(bool checked) {
    return checked ? Qt::Checked : Qt::Unchecked;
}

}  // namespace

ConditionControls::ConditionControls(Ui::TFormMain& ui) : ui_(ui) {}

void ConditionControls::FillFileTypes() {
    for (const char* text : kFileTypeTexts) {
        auto* item = new QListWidgetItem(QString::fromUtf8(text), ui_.CheckListBoxFileType);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

void ConditionControls::ProjectToControls(const TProject& project) {
    ui_.EditFolder->setText(project.Dir);
    ui_.CheckBoxBookSearchSubDir->setChecked(project.IsSearchSubDir);
    ui_.EditWord->setText(project.Word);
    ui_.ComboBoxSearchOrder->setCurrentIndex(project.SearchOrder);
    ui_.ComboBoxFindLookIn->setCurrentIndex(project.FindLookIn);
    ui_.CheckBoxMatchCase->setChecked(project.MatchCase);
    ui_.CheckBoxMatchByte->setChecked(project.MatchByte);
    ui_.CheckBoxLookAt->setChecked(project.LookAt);
    for (int i = 0; i < ui_.CheckListBoxFileType->count(); ++i) {
        ui_.CheckListBoxFileType->item(i)->setCheckState(CheckState(project.Ext.count(i) > 0));
    }
}

void ConditionControls::ControlsToProject(TProject& project) const {
    static_cast<SearchConditions&>(project) = Conditions();
    // -1 (nothing selected) wraps to a large unsigned value, which the setters turn into 0.
    project.SetSearchOrder(static_cast<uint32_t>(ui_.ComboBoxSearchOrder->currentIndex()));
    project.SetFindLookIn(static_cast<uint32_t>(ui_.ComboBoxFindLookIn->currentIndex()));
}

SearchConditions ConditionControls::Conditions() const {
    SearchConditions conditions;
    conditions.Dir = ui_.EditFolder->text();
    conditions.IsSearchSubDir = ui_.CheckBoxBookSearchSubDir->isChecked();
    conditions.Word = ui_.EditWord->text();
    conditions.SearchOrder = std::max(0, ui_.ComboBoxSearchOrder->currentIndex());
    conditions.FindLookIn = std::max(0, ui_.ComboBoxFindLookIn->currentIndex());
    conditions.MatchCase = ui_.CheckBoxMatchCase->isChecked();
    conditions.MatchByte = ui_.CheckBoxMatchByte->isChecked();
    conditions.LookAt = ui_.CheckBoxLookAt->isChecked();
    conditions.Ext.clear();
    for (int i = 0; i < ui_.CheckListBoxFileType->count(); ++i) {
        if (ui_.CheckListBoxFileType->item(i)->checkState() == Qt::Checked) {
            conditions.Ext.insert(i);
        }
    }
    return conditions;
}
