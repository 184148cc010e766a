#pragma once

#include "common/Cp1252.h"

#include <QFile>
#include <QString>
#include <string>

namespace camini {

// The core's CP1252 texts as the widgets' QString, and back.
inline QString toQString(const Cp1252& cp1252) {
    return QString::fromStdString(toUtf8(cp1252));
}
inline Cp1252 toCp1252(const QString& text) {
    return fromUtf8(text.toStdString());
}

// A path chosen in a dialog as the file system's bytes, and back.
inline PathBytes nativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}
inline QString displayPath(const PathBytes& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace camini
