// The program entry: the application object, the engine with its viewer, and the main window.
#include "app/DesktopEngine.h"
#include "app/SorvaneApplication.h"
#include "app/Tformmain.h"
#include "engine/readers/AllocatorTuning.h"
#include "storage/Exception.h"

int main(int argc, char** argv) {
    SorvaneApplication app(argc, argv);
    try {
        QApplication::setOrganizationName(QStringLiteral("Tavrick"));
        // No display name: the platform would add it to every caption, which already names
        // the program where it should.
        QApplication::setApplicationName(QStringLiteral("Sorvane"));
        engine::KeepFreedReadBuffers();
        DesktopEngine engine;

        // The file association starts the program with a project file as its first argument.
        const QStringList arguments = QApplication::arguments();
        TFormMain form(engine, nullptr, arguments.size() > 1 ? arguments.at(1) : QString());
        form.show();
        return app.exec();
    } catch (const Exception& error) {
        SorvaneApplication::ShowException(error.Message());
    } catch (const std::exception& error) {
        SorvaneApplication::ShowException(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        SorvaneApplication::ShowException(QString());
    }
    return 0;
}
