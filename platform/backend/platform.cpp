// The platform's Qt application object and its home folder.
#include "platform/backend/platform.h"

#include <QApplication>
#include <QSettings>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/backend/file.h"
#include "platform/backend/fonts.h"

namespace backend {

namespace {

struct QtState {
    int argc = 0;
    std::vector<std::string> arguments;
    std::vector<char*> argv;
    std::unique_ptr<QApplication> application; // a widgets application: the common dialogs need one
};

QtState& State() {
    static QtState state;
    return state;
}

} // namespace

bool StartPlatform(int argc, char** argv) {
    QtState& state = State();
    if (state.application || QGuiApplication::instance())
        return true;
    // Without a display Qt would abort the process: answer false and let the caller say so.
    if (GetEnvironment("QT_QPA_PLATFORM").empty() && GetEnvironment("DISPLAY").empty() &&
        GetEnvironment("WAYLAND_DISPLAY").empty())
        return false;
    // Qt keeps references to argc and argv for the application's lifetime: keep our own copies.
    state.arguments.clear();
    for (int i = 0; i < argc; ++i)
        state.arguments.emplace_back(argv[i]);
    if (state.arguments.empty())
        state.arguments.emplace_back("zelmor");
    state.argv.clear();
    for (std::string& argument : state.arguments)
        state.argv.push_back(argument.data());
    state.argv.push_back(nullptr);
    state.argc = static_cast<int>(state.arguments.size());
    // What Qt remembers for itself (the file dialog's recent folders) lives with the program's own
    // settings, not in the user's shared Qt settings.
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, QString::fromStdString(ZelmorHome()));
    state.application = std::make_unique<QApplication>(state.argc, state.argv.data());
    // Text would be measured and drawn with other faces than everywhere else: refuse to start.
    std::vector<std::string> missing = MissingFonts();
    if (!missing.empty()) {
        std::string names;
        for (const std::string& face : missing)
            names += (names.empty() ? "" : ", ") + face;
        std::fprintf(stderr, "zelmor: the fonts %s are not installed (scripts/install-deps installs them)\n",
                     names.c_str());
        state.application.reset();
        return false;
    }
    // The application object must go before the static objects Qt and our font cache keep, whatever way
    // the program ends. Both exist by now (the font check built the cache), so a handler registered now
    // runs before they are destroyed.
    static bool stopAtExit = [] { return std::atexit([] { StopPlatform(); }) == 0; }();
    (void)stopAtExit;
    return true;
}

void StopPlatform() {
    ReleaseFonts();
    State().application.reset();
}

bool PlatformStarted() {
    return QGuiApplication::instance() != nullptr;
}

std::string PlatformName() {
    if (!QGuiApplication::instance())
        return std::string();
    return QGuiApplication::platformName().toStdString();
}

std::string ZelmorHome() {
    std::string home = GetEnvironment("ZELMOR_HOME");
    if (!home.empty())
        return home;
    std::string config = GetEnvironment("XDG_CONFIG_HOME");
    if (config.empty())
        config = HomeDirectory() + "/.config";
    return config + "/zelmor";
}

} // namespace backend
