// The board's labels as assistive tools see them: named after their place,
// with their current caption readable as text.
#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace window {

// A factory for QAccessible::installFactory: gives every CaptionLabel an
// interface whose name is its accessible name (its caption when it has none)
// and whose Text interface reads its current caption. Other objects: null.
QAccessibleInterface* accessibleLabelFactory(const QString& className, QObject* object);

}  // namespace window
