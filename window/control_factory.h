// Builds the controls of the stored layout inside the window.
#pragma once

#include <QWidget>

namespace window {

// Creates every control of kLayout as a child of `form` (or of its frame),
// named after the control, placed at its stored rectangle, with its caption,
// colour, font, border and initial visibility, stacked as stored, and with
// the tab order of the stored tab indexes. Connects no event.
void buildControls(QWidget& form);

}  // namespace window
