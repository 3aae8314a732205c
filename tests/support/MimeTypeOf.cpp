// mime_type_of FILE: prints the file's MIME type as the shared-mime-info database under
// XDG_DATA_HOME and XDG_DATA_DIRS gives it, the way a freedesktop desktop (GIO, Qt, KDE)
// resolves a file it is asked to open. The association tests run it in the environment the
// association was written to.
#include <QCoreApplication>
#include <QMimeDatabase>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: mime_type_of FILE\n");
        return 2;
    }
    const QMimeType type = QMimeDatabase().mimeTypeForFile(QString::fromLocal8Bit(argv[1]),
                                                           QMimeDatabase::MatchDefault);
    std::printf("%s\n", type.name().toUtf8().constData());
    return 0;
}
