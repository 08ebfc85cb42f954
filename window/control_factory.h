// Builds the controls of the stored layout inside the window.
#pragma once

#include <QWidget>

namespace window {

// Creates every control of the layout table as a child of `form1` (or of its frame),
// named after the control, placed at its stored rectangle, with its caption,
// colour, font, border and initial visibility, stacked as stored, and with
// the tab order of the stored tab indexes. Connects no event.
void buildControls(QWidget& form1);

}  // namespace window
