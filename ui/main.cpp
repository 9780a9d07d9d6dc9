#include <QApplication>

#include "platform/qt/german_translations.h"
#include "platform/qt/qt_runtime.h"
#include "ui/wexal.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    wexal::installGermanTranslations(app);
    QApplication::setApplicationName(QStringLiteral("Wexal"));
    wexal::QtRuntime runtime;
    wexal::Wexal window(runtime);
    runtime.attach(&window);
    window.showCentred();
    return QApplication::exec();
}
