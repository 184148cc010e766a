#pragma once

#include "common/Cp1252.h"

#include <QFile>
#include <QString>
#include <string>

namespace camini {

// The core's CP1252 texts as the widgets' QString, and back.
inline QString toQString(const std::string& cp1252) {
    return QString::fromStdString(toUtf8(cp1252));
}
inline std::string toCp1252(const QString& text) {
    return fromUtf8(text.toStdString());
}

// A path chosen in a dialog as the file system's bytes, and back.
inline std::string nativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}
inline QString displayPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace camini
