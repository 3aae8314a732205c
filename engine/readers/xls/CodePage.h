// Decodes the 8-bit strings of BIFF5 files in the workbook's code page (CODEPAGE record):
// 932 for Japanese files, 1252 for Western ones. An unknown code page reads as Latin-1
// rather than failing the file.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

namespace engine {

class CodePage {
public:
    CodePage() = default;  // Latin-1 until a CODEPAGE record says otherwise
    explicit CodePage(int id);

    QString Decode(QByteArrayView bytes);

private:
    QStringDecoder decoder_;
};

}  // namespace engine
