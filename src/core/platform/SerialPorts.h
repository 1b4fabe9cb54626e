#pragma once
// What the options dialog needs to let the user pick the modem: the serial devices present,
// whether the user may open one, and the device map entry of a port ("ComN").
#include "core/platform/SerialDevice.h"

#include <QList>
#include <QString>

namespace zrk {

struct SerialPortCandidate {
    QString path;    // as it is to be stored, e.g. /dev/serial/by-id/usb-...-if00
    QString target;  // for a link: the device it leads to (/dev/ttyACM0), else empty
};

// The serial devices present below `devRoot` (normally /dev): the stable names of
// serial/by-id first (a USB modem keeps its name whichever socket it is plugged into), then
// ttyACM*, ttyUSB* and the ttyS* ports that have a UART behind them (the kernel makes 4 or
// 32 ttyS nodes whether or not there is hardware; `sysRoot`/class/tty/ttySN/type says which
// are real). Each group in natural order (ttyS2 before ttyS10).
QList<SerialPortCandidate> listSerialPorts(const QString& devRoot = QStringLiteral("/dev"),
                                           const QString& sysRoot = QStringLiteral("/sys"));

// What stops the program from opening `path`, in plain words for the user; empty when it
// looks openable.
QString serialDeviceProblem(const QString& path);
// The words for an open that failed with `error` (errno) on a device owned by `group`.
QString serialDeviceProblemText(const QString& path, int error, const QString& group);

// The default device of "ComN": /dev/ttyS<N-1>.
QString defaultSerialDevicePath(int comNumber);
// Writes "ComN" and "ComN Virtual" of the device map. A store that cannot be written raises
// ERegistryException.
void saveSerialDeviceLocation(int comNumber, const SerialDeviceLocation& location);

}  // namespace zrk
