#include "app/ViewerPresenter.h"

#include "app/WorkbookViewer.h"

#include <QApplication>

ViewerPresenter::ViewerPresenter() = default;

ViewerPresenter::~ViewerPresenter() {
    delete viewer_;
}

WorkbookViewer& ViewerPresenter::EnsureViewer() {
    if (viewer_.isNull()) {
        viewer_ = new WorkbookViewer;
    }
    return *viewer_;
}

bool ViewerPresenter::IsShown(const engine::Workbook& book) const {
    return !viewer_.isNull() && viewer_->Book() == &book;
}

void ViewerPresenter::Show() {
    EnsureViewer().show();
}

void ViewerPresenter::ShowWorkbook(std::shared_ptr<engine::Workbook> book) {
    WorkbookViewer& viewer = EnsureViewer();
    viewer.ShowWorkbook(std::move(book));
    viewer.show();
}

void ViewerPresenter::SelectSheet(const engine::Workbook& book, int sheetIndex) {
    if (IsShown(book)) {
        viewer_->SelectSheet(sheetIndex);
    }
}

void ViewerPresenter::SelectCell(const engine::Workbook& book, int sheetIndex, int row,
                                 int column) {
    if (IsShown(book)) {
        viewer_->SelectCell(sheetIndex, row, column);
    }
}

void ViewerPresenter::Raise() {
    if (viewer_.isNull()) {
        return;
    }
    // A program window kept above the others would keep the viewer behind it.
    bool onTop = false;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        onTop = onTop || (window != viewer_ && window->isVisible() &&
                          window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }
    if (viewer_->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop) {
        viewer_->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    }
    if (viewer_->isMinimized()) {
        viewer_->showNormal();
    }
    viewer_->show();
    viewer_->raise();
    viewer_->activateWindow();
}

bool ViewerPresenter::IsOpen() const {
    return !viewer_.isNull() && viewer_->isVisible();
}
