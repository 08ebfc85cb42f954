// Fatal messages of the platform's start turned into the program's own failure.
#include "platform_start.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace window {

namespace {

struct HeldMessage {
    QtMsgType type;
    std::optional<std::string> file;
    int line;
    std::optional<std::string> function;
    std::optional<std::string> category;
    QString text;
};

std::optional<std::string> copied(const char* text) {
    return text == nullptr ? std::nullopt : std::optional<std::string>(text);
}

const char* nullOr(const std::optional<std::string>& text) { return text ? text->c_str() : nullptr; }

const char* watchingProgram = nullptr;
QtMessageHandler previousHandler = nullptr;
std::vector<HeldMessage> heldMessages;

[[noreturn]] void failInOneLine(const QString& fatal) {
    // The plugin's own warning says why ("could not connect to display :1");
    // the fatal message after it is a paragraph on reinstalling plugins.
    QString reason = fatal.section(QLatin1Char('\n'), 0, 0);
    for (const HeldMessage& message : heldMessages) {
        if (message.type == QtWarningMsg || message.type == QtCriticalMsg) {
            reason = message.text;
            break;
        }
    }
    std::fprintf(stderr, "%s: the display platform did not start: %s\n", watchingProgram,
                 reason.simplified().toLocal8Bit().constData());
    std::fflush(stderr);
    // Nothing is left to tidy that the system does not take back; Qt's own
    // exit handlers would meet a half-made application.
    std::_Exit(1);
}

void watch(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        failInOneLine(text);
    }
    heldMessages.push_back({type, copied(context.file), context.line, copied(context.function),
                            copied(context.category), text});
}

}  // namespace

PlatformStartWatch::PlatformStartWatch(const char* programName) {
    watchingProgram = programName;
    previousHandler = qInstallMessageHandler(watch);
}

PlatformStartWatch::~PlatformStartWatch() {
    qInstallMessageHandler(previousHandler);
    for (const HeldMessage& message : heldMessages) {
        const QMessageLogContext context(nullOr(message.file), message.line, nullOr(message.function),
                                         nullOr(message.category));
        qt_message_output(message.type, context, message.text);
    }
    heldMessages.clear();
}

}  // namespace window
