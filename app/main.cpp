// The program entry: the application object, the engine with its viewer, the storage hooks
// (warning box, wait cursor), and the main window.
#include "app/DesktopHooks.h"
#include "app/SorvaneApplication.h"
#include "app/Tformmain.h"
#include "app/ViewerPresenter.h"
#include "engine/objects/EngineServer.h"
#include "storage/Exception.h"

int main(int argc, char** argv) {
    SorvaneApplication app(argc, argv);
    try {
        QApplication::setOrganizationName(QStringLiteral("Tavrick"));
        QApplication::setApplicationName(QStringLiteral("Sorvane"));
        QApplication::setApplicationDisplayName(QStringLiteral("Sorvane"));
        DesktopHooks::Install();
        ViewerPresenter presenter;
        engine::SetPresenter(&presenter);
        engine::RegisterEngine();

        // The file association starts the program with a project file as its first argument.
        const QStringList arguments = QApplication::arguments();
        TFormMain form(nullptr, arguments.size() > 1 ? arguments.at(1) : QString());
        form.show();
        const int result = app.exec();
        engine::SetPresenter(nullptr);
        DesktopHooks::Remove();
        return result;
    } catch (const Exception& error) {
        SorvaneApplication::ShowException(error.Message());
    } catch (const std::exception& error) {
        SorvaneApplication::ShowException(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        SorvaneApplication::ShowException(QString());
    }
    return 0;
}
