// Has the screen reader say a sentence, without moving the focus and without
// any change on screen: the result of a guess, the secret as it shows.
#pragma once

#include <QString>
#include <optional>
#include <string>

class QAccessibleEvent;
class QWidget;

namespace window {

class Announcer {
public:
    // `window` is the window the sentences are about; it must outlive the
    // announcer. Adds nothing that draws or takes the focus.
    explicit Announcer(QWidget& window);

    // Nothing happens for an empty sentence, or when no assistive tool
    // listens (no screen reader, no accessibility bus, QT_ACCESSIBILITY=0).
    void announce(const std::u16string& sentence);

private:
    // What the announcement is sent for: the window itself, or the object
    // that carries it where Qt has no announcements of its own.
    QWidget* speaker_;
};

// The sentence `event` carries to a screen reader when it is an announcer's,
// else none: what the platform's accessibility bridge is handed, read back as
// the bridge reads it.
std::optional<QString> announcedSentence(QAccessibleEvent& event);

}  // namespace window
