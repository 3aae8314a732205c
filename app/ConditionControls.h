// The search-condition controls of the main window as one unit: fills them from a project,
// copies them back into one, and reads them as the conditions of a search run.
#pragma once

#include "search/ConditionArguments.h"

class TProject;

namespace Ui {
class TFormMain;
}

class ConditionControls {
public:
    explicit ConditionControls(Ui::TFormMain& ui);

    // Adds the file-type items to the check list (once, at construction of the window).
    void FillFileTypes();

    // Shows the project's conditions; the result list is not touched here.
    void ProjectToControls(const TProject& project);
    // Copies the controls into the project; FileName stays as it is.
    void ControlsToProject(TProject& project) const;
    SearchConditions Conditions() const;

private:
    Ui::TFormMain& ui_;
};
