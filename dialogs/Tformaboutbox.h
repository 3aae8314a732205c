// The about box: the application title, the file version, the copyright line and the comment,
// the last three read from the version block embedded in the program's own executable.
#pragma once

#include <QDialog>

class QLabel;
class TkAppInfo;

class TFormAboutBox : public QDialog {
    Q_OBJECT

public:
    // Raises Exception("バージョン情報を取得できません") when the executable has no readable
    // version block; then no box exists.
    explicit TFormAboutBox(QWidget* owner);
    // Same, reading the block of the given executable.
    TFormAboutBox(QWidget* owner, const QString& executablePath);

private:
    void Fill(const TkAppInfo& info);

    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QLabel* Copyright;
    QLabel* Comments;
};
