// quillmark: the window program.

#include "Form1.h"
#include "TrappedApplication.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    // Without a display there is nothing to show: say so instead of aborting.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fprintf(stderr, "quillmark: no display to open the window on (DISPLAY is not set).\n");
        return 1;
    }
    TrappedApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Harrowmere"));
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLMARK_VERSION));
    Form1 form;
    form.Form_Load();
    form.show();
    return app.exec();
}
