// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>
#include <QByteArray>

#include "platform/qt/german_translations.h"
#include "platform/qt/qt_runtime.h"
#include "sim/scenario.h"
#include "ui/wexal.h"
#include "ui/window_command_line.h"

namespace {

// Without a display Qt ends the program with an English message and a core dump. Instead the
// program says in one line what is missing and how to start it, and ends with status 1.
constexpr int kNoDisplay = 1;

[[noreturn]] void endWithoutDisplay(const std::string& what) {
    const std::string line = "wexal: " + what +
                             " Wexal an einem Bildschirm starten oder ohne Bildschirm mit: "
                             "xvfb-run wexal\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    std::_Exit(kNoDisplay);
}

// No platform chosen and no display named: Qt would try X11 and fail.
bool noDisplayNamed() {
    return qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
           qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

std::string namedDisplay() {
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const QByteArray value = qgetenv(name);
        if (!value.isEmpty()) return std::string(name) + "=" + value.toStdString();
    }
    return "";
}

// A display that is named but cannot be opened shows only inside QApplication's constructor,
// as Qt's fatal message. While the constructor runs, Qt's messages are held back: on the fatal
// one the program ends with its own line; otherwise they are passed on once it returns.
struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};
std::vector<HeldMessage> heldMessages;
QtMessageHandler passOn = nullptr;

void holdWhileConnecting(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        endWithoutDisplay("Der Bildschirm „" + namedDisplay() + "“ lässt sich nicht öffnen.");
    }
    heldMessages.push_back({type, QByteArray(context.category), text});
}

void stopHolding() {
    qInstallMessageHandler(passOn);
    for (const HeldMessage& message : heldMessages) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        qt_message_output(message.type, context, message.text);
    }
    heldMessages.clear();
}

std::vector<std::string> argumentsOf(const QStringList& all) {
    std::vector<std::string> arguments;
    for (qsizetype i = 1; i < all.size(); ++i) arguments.push_back(all[i].toStdString());
    return arguments;
}

// Prints what the command line asked for instead of a window; false when the window is wanted.
bool answered(const wexal::WindowCommandLine& line, int& status) {
    using Action = wexal::WindowCommandLine::Action;
    if (line.action == Action::Run) return false;
    const bool rejected = line.action == Action::Reject;
    std::fputs((line.message + (rejected ? "\n" : "")).c_str(), rejected ? stderr : stdout);
    status = rejected ? wexal::kBadCommandLine : 0;
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Help and version need no display; everything else is read once Qt has taken its own
    // options (-platform, -display, ...) out of the arguments.
    int status = 0;
    std::vector<std::string> raw(argv + 1, argv + argc);
    const wexal::WindowCommandLine early = wexal::readWindowCommandLine(raw, WEXAL_VERSION);
    if (early.action != wexal::WindowCommandLine::Action::Reject && answered(early, status)) return status;
    if (noDisplayNamed()) {
        endWithoutDisplay("Kein Bildschirm gefunden (DISPLAY und WAYLAND_DISPLAY sind nicht gesetzt).");
    }
    passOn = qInstallMessageHandler(holdWhileConnecting);
    QApplication app(argc, argv);
    stopHolding();
    wexal::installGermanTranslations(app);
    QApplication::setApplicationName(QStringLiteral("Wexal"));
    const wexal::WindowCommandLine line =
        wexal::readWindowCommandLine(argumentsOf(QCoreApplication::arguments()), WEXAL_VERSION);
    if (answered(line, status)) return status;
    // A scenario that cannot be read is refused like a bad option, before any window opens.
    std::optional<wexal::Scenario> scenario;
    if (!line.options.szenario.empty()) {
        wexal::ScenarioReading reading = wexal::readScenarioFile(line.options.szenario);
        if (!reading.scenario) {
            std::fputs(("wexal: " + reading.error + "\n").c_str(), stderr);
            return wexal::kBadCommandLine;
        }
        scenario = std::move(reading.scenario);
    }
    wexal::QtRuntime runtime;
    wexal::Wexal window(runtime);
    runtime.attach(&window);
    if (scenario) window.openScenario(std::move(*scenario));
    window.showCentred();
    if (line.options.auswertung) window.showAuswertung();
    return QApplication::exec();
}
