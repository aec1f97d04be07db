// Port specifications applied to and read from QSerialPort objects; none of these opens a port.

#pragma once

#include "serialPort/portSpecificationText.h"

#include <QSerialPort>
#include <QString>

class QObject;

namespace serialPort_n
{

// The port's name and line settings as a specification; unlisted settings appear as "-1", "U" or "?".
QString portSpecification(const QSerialPort& p_port);

// Sets name and line settings from a specification. False (with a diagnostic line, port untouched) when
// the shape is wrong or there is no port; a token that is not in its table sets that setting to -1 and
// does not count as a failure.
bool applyPortSpecification(const QString& p_strSpec, QSerialPort* p_pPort);

// A new, closed port set up from the specification, owned by p_pParent (or by the caller when it is
// null); null when the shape is wrong.
QSerialPort* createPort(const QString& p_strSpec, QObject* p_pParent);

} // namespace serialPort_n
