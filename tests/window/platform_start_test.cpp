// What the platform's start says while it is watched reaches the log all the
// same, in order, once the watch ends. (Its fatal end: no_display_test.sh.)
#include <gtest/gtest.h>

#include <QStringList>
#include <QtGlobal>

#include "platform_start.h"

namespace window::testing {
namespace {

QStringList logged;

void record(QtMsgType /*type*/, const QMessageLogContext& context, const QString& text) {
    logged << QStringLiteral("%1: %2").arg(QString::fromLatin1(context.category), text);
}

TEST(PlatformStart, MessagesAreHeldWhileWatchedThenHandedOnInOrder) {
    const QtMessageHandler previous = qInstallMessageHandler(record);
    logged.clear();
    {
        const PlatformStartWatch watch("bul-pgia");
        qWarning("first");
        qInfo("second");
        EXPECT_TRUE(logged.isEmpty()) << logged.join(" | ").toStdString();
    }
    qWarning("after");
    qInstallMessageHandler(previous);
    EXPECT_EQ(logged, QStringList({"default: first", "default: second", "default: after"}));
}

}  // namespace
}  // namespace window::testing
