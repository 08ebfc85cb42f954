// Watches the X11 close requests of the window while a message box is open.
#include "close_while_blocked.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>

#include "x11_connection.h"

namespace window {

namespace {

// A child of the form, so it leaves the application's filters with the form.
class BlockedCloseFilter : public QObject, public QAbstractNativeEventFilter {
public:
    BlockedCloseFilter(QWidget& form, xcb_atom_t protocols, xcb_atom_t deleteWindow)
        : QObject(&form), form_(&form), protocols_(protocols), deleteWindow_(deleteWindow) {}

    bool nativeEventFilter(const QByteArray& eventType, void* message,
                           qintptr* /*result*/) override {
        if (eventType != "xcb_generic_event_t" || form_ == nullptr) {
            return false;
        }
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7F) != XCB_CLIENT_MESSAGE) {
            return false;
        }
        const auto* request = static_cast<const xcb_client_message_event_t*>(message);
        if (request->format != 32 || request->type != protocols_ ||
            request->data.data32[0] != deleteWindow_ ||
            request->window != static_cast<xcb_window_t>(form_->winId())) {
            return false;
        }
        QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr || box == form_) {
            return false;  // not blocked: Qt closes the window itself
        }
        // The box's own close counts as OK; the handler then runs to its
        // end, and the window closes once control is back in the main loop.
        box->close();
        QMetaObject::invokeMethod(form_, &QWidget::close, Qt::QueuedConnection);
        return true;
    }

private:
    QPointer<QWidget> form_;
    xcb_atom_t protocols_;
    xcb_atom_t deleteWindow_;
};

}  // namespace

void closeEvenWhenBlocked(QWidget& form) {
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr) {
        return;
    }
    const xcb_atom_t protocols = internAtom(connection, "WM_PROTOCOLS");
    const xcb_atom_t deleteWindow = internAtom(connection, "WM_DELETE_WINDOW");
    if (protocols == XCB_ATOM_NONE || deleteWindow == XCB_ATOM_NONE) {
        return;
    }
    qApp->installNativeEventFilter(new BlockedCloseFilter(form, protocols, deleteWindow));
}

}  // namespace window
