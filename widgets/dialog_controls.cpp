#include "widgets/dialog_controls.h"

#include <QtGlobal>

namespace widgets {

void DialogControls::add(int controlId, QWidget* control) {
    m_controls[controlId] = control;
}

QString DialogControls::objectNameFor(int controlId) {
    return QStringLiteral("control_%1").arg(controlId);
}

void DialogControls::missingControl(int controlId) {
    qFatal("Dialog control %d is missing or of another kind", controlId);
}

}  // namespace widgets
