// Qt 6.8 and later have announcements of their own: a polite one, so that
// the screen reader finishes what it is saying first. Before that, Orca
// speaks an object of the notification role whenever one is shown, wherever
// the focus is, and shows the text of its label in braille (and keeps it in
// its list of notifications); a status bar or an alert that changes or shows
// is not presented. So the older Qt gets a notification that is shown once
// per sentence and never draws: it has no size, its label is clipped away,
// it takes neither focus nor clicks.
#include "announcer.h"

#include <QAccessible>
#include <QWidget>

#include "qt_strings.h"

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
#include <QAccessibleWidget>
#include <QLabel>
#endif

namespace window {

namespace {

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)

class Notice : public QWidget {
public:
    explicit Notice(QWidget& window) : QWidget(&window), label_(new QLabel(this)) {
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(0, 0, 0, 0);
        hide();
    }

    // Shown anew, so that the screen reader hears of it even when the
    // sentence is the same as the last one.
    void present(const QString& sentence) {
        hide();
        label_->setText(sentence);
        show();
    }

private:
    QLabel* label_;
};

QAccessibleInterface* noticeFactory(const QString& /*className*/, QObject* object) {
    if (auto* notice = dynamic_cast<Notice*>(object)) {
        return new QAccessibleWidget(notice, QAccessible::Notification);
    }
    return nullptr;
}

QWidget* makeSpeaker(QWidget& window) {
    static const bool installed = (QAccessible::installFactory(noticeFactory), true);
    Q_UNUSED(installed);
    return new Notice(window);
}

void speak(QWidget& speaker, const QString& sentence) {
    static_cast<Notice&>(speaker).present(sentence);
}

std::optional<QString> hear(QAccessibleEvent& event) {
    QAccessibleInterface* shown = event.accessibleInterface();
    if (event.type() == QAccessible::ObjectShow && shown != nullptr &&
        shown->role() == QAccessible::Notification && shown->childCount() > 0) {
        return shown->child(0)->text(QAccessible::Name);
    }
    return std::nullopt;
}

#else

QWidget* makeSpeaker(QWidget& window) { return &window; }

void speak(QWidget& speaker, const QString& sentence) {
    QAccessibleAnnouncementEvent event(&speaker, sentence);
    event.setPoliteness(QAccessible::AnnouncementPoliteness::Polite);
    QAccessible::updateAccessibility(&event);
}

std::optional<QString> hear(QAccessibleEvent& event) {
    if (event.type() == QAccessible::Announcement) {
        return static_cast<QAccessibleAnnouncementEvent&>(event).message();
    }
    return std::nullopt;
}

#endif

}  // namespace

std::optional<QString> announcedSentence(QAccessibleEvent& event) { return hear(event); }

Announcer::Announcer(QWidget& window) : speaker_(makeSpeaker(window)) {}

void Announcer::announce(const std::u16string& sentence) {
    if (!sentence.empty() && QAccessible::isActive()) {
        speak(*speaker_, toQString(sentence));
    }
}

}  // namespace window
