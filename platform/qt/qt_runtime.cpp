// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_runtime.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>

namespace wexal {

QString QtRuntime::displayText(std::string_view text) {
    QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    shown.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    return shown;
}

void QtRuntime::messageBox(std::string_view text) {
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), displayText(text),
                    QMessageBox::Ok, window_);
    box.setProperty("wexalText", QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    box.exec();
}

void QtRuntime::endProgram() {
    if (!window_.isNull()) window_->close();
    QCoreApplication::exit(0);
}

ScreenSize QtRuntime::screenSize() const {
    const QScreen* screen =
        !window_.isNull() ? window_->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return kDesignScreen;
    const QSize pixels = screen->size();
    const double dpiX = screen->logicalDotsPerInchX();
    const double dpiY = screen->logicalDotsPerInchY();
    return {pixels.width() * kUnitsPerInch / dpiX, pixels.height() * kUnitsPerInch / dpiY};
}

}  // namespace wexal
