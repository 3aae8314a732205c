// The engine's presenter on this desktop: making the engine's application visible opens the
// workbook viewer, and the engine's sheet and cell activations select in it. The viewer is
// made on first use and kept; closing it only hides it.
#pragma once

#include "app/WorkbookViewer.h"
#include "engine/objects/Presenter.h"

#include <QPointer>

class ViewerPresenter : public engine::Presenter {
public:
    ViewerPresenter();
    ~ViewerPresenter() override;
    ViewerPresenter(const ViewerPresenter&) = delete;
    ViewerPresenter& operator=(const ViewerPresenter&) = delete;

    void Show() override;
    void ShowWorkbook(std::shared_ptr<engine::Workbook> book) override;
    void SelectSheet(const engine::Workbook& book, int sheetIndex) override;
    void SelectCell(const engine::Workbook& book, int sheetIndex, int row, int column) override;
    void Raise() override;
    bool IsOpen() const override;

    // The viewer window, null before the first Show().
    WorkbookViewer* Viewer() const { return viewer_; }

private:
    WorkbookViewer& EnsureViewer();
    // Selections are for the workbook on view only.
    bool IsShown(const engine::Workbook& book) const;

    QPointer<WorkbookViewer> viewer_;
};
